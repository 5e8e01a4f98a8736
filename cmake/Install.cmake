# What `cmake --install` puts under the prefix, laid out as a Linux desktop expects it, and the
# Debian package made of the same files (tools/make-deb.sh). The programs find their data in
# share/quillmark/data beside their bin folder, wherever the prefix is.
include(GNUInstallDirs)

install(TARGETS quillmark quillmark-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/quillmark/data)

set(QUILLMARK_APP_ID org.quillmark.Quillmark)
install(FILES dist/${QUILLMARK_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES dist/${QUILLMARK_APP_ID}.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(DIRECTORY dist/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
configure_file(dist/${QUILLMARK_APP_ID}.metainfo.xml
               ${CMAKE_BINARY_DIR}/generated/${QUILLMARK_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/generated/${QUILLMARK_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES dist/man/quillmark.1 dist/man/quillmark-cli.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian package: its dependencies are the libraries the programs link (dpkg-shlibdeps),
# plus what Qt loads at run time and the fonts the printed pages name.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillmark)
set(CPACK_PACKAGE_VENDOR Korvald)
set(CPACK_PACKAGE_CONTACT "Quillmark developers <quillmark@quillmark.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "designer of counted-stitch charts and pixel-art patterns")
# The long description below the summary line; CPack indents it as the control file wants.
set(CPACK_PACKAGE_DESCRIPTION
    "Quillmark turns pictures into cross-stitch and pixel-art charts, edits them with drawing "
    "tools and prints them over as many pages as they need, with a key of colours, symbols "
    "and amounts. quillmark-cli converts, opens, saves and exports designs without a window.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://quillmark.example.org)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads the TIFF reader as a plugin, which no linked library names.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-image-formats-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2, fonts-crosextra-carlito")
set(CPACK_STRIP_FILES ON)
include(CPack)
