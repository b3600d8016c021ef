# The installation's folders (GNUInstallDirs), and the plug-in's private folder
# lib/<triplet>/marlix/, which layouthost finds relative to its own bin/.
include(GNUInstallDirs)

set(MARLIX_INSTALL_PLUGINDIR "${CMAKE_INSTALL_LIBDIR}")
if(CMAKE_LIBRARY_ARCHITECTURE AND NOT CMAKE_INSTALL_LIBDIR MATCHES "${CMAKE_LIBRARY_ARCHITECTURE}")
  string(APPEND MARLIX_INSTALL_PLUGINDIR "/${CMAKE_LIBRARY_ARCHITECTURE}")
endif()
string(APPEND MARLIX_INSTALL_PLUGINDIR "/marlix")
set(MARLIX_INSTALL_DATADIR "${CMAKE_INSTALL_DATADIR}/marlix")

file(RELATIVE_PATH MARLIX_PLUGIN_RELATIVE_DIR "/prefix/${CMAKE_INSTALL_BINDIR}"
     "/prefix/${MARLIX_INSTALL_PLUGINDIR}")
