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
file(GLOB marlix_man_pages CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/man/*.1)
install(FILES ${marlix_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
