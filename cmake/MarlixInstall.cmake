# What `cmake --install` puts where: the programs and the two scripts in bin/, the plug-in in
# its private folder, the archive starter kit in share/marlix/, the manual pages in man1/.

foreach(program indexer layouthost xtpicture)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()
if(TARGET MarlixXT40)
  install(TARGETS MarlixXT40 LIBRARY DESTINATION ${MARLIX_INSTALL_PLUGINDIR} NAMELINK_SKIP)
endif()

install(PROGRAMS ${CMAKE_SOURCE_DIR}/scripts/marlix-new ${CMAKE_SOURCE_DIR}/scripts/marlix-publish
        DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/archive-skeleton/
        DESTINATION ${MARLIX_INSTALL_DATADIR}/archive-skeleton)
# The hand-written manual pages, compressed as Debian keeps them (no time stamp: -n).
file(GLOB marlix_man_pages CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/man/*.1)
set(marlix_man_gz)
foreach(page ${marlix_man_pages})
  get_filename_component(name ${page} NAME)
  set(gz ${CMAKE_BINARY_DIR}/man/${name}.gz)
  add_custom_command(OUTPUT ${gz} COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
                     COMMAND gzip -9 -n -c ${page} > ${gz} DEPENDS ${page} VERBATIM)
  list(APPEND marlix_man_gz ${gz})
endforeach()
add_custom_target(marlix_man_pages ALL DEPENDS ${marlix_man_gz})
install(FILES ${marlix_man_gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
