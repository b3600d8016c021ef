# `cpack` (run in the build folder) makes a Debian package of the installation under /usr; its
# dependencies come from dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME marlix)
set(CPACK_PACKAGE_VENDOR "Tarnby")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "HTML export of layout documents and archive indexing for periodicals")
set(CPACK_PACKAGE_DESCRIPTION
    "layouthost drives the MarlixXT40 plug-in, which exports the articles of a layout
document as HTML pages with their pictures into a publication's archive; indexer scans an
issue of the archive and writes its index pages, frames and previous/next links.
marlix-new starts a publication, marlix-publish exports and indexes an issue in one step.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Marlix maintainers <marlix@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# layouthost draws text with fontconfig's fonts; xdg-open shows a page in the browser.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, xdg-utils")
include(CPack)
