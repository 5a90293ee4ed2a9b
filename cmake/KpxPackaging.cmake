# SPDX-License-Identifier: GPL-2.0-or-later
# The Debian package (cpack -G DEB): the window, the three tools, the desktop entry, the icons,
# the example include file, man pages made from the tools' --help, AppStream data, the copyright
# file and a changelog. Its dependencies are read off the binaries by dpkg-shlibdeps.
set(KPX_PACKAGE_NAME kpxv410)
set(KPX_PROJECT_URL "https://kpx.invalid" CACHE STRING
  "Where the project is published: the AppStream homepage and the base of its screenshot's address")
set(KPX_RELEASE_DATE "2026-12-09")
set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(docdir ${CMAKE_INSTALL_DATADIR}/doc/${KPX_PACKAGE_NAME})

configure_file(${packaging}/tw.kpx.kpxv410.metainfo.xml.in
  ${CMAKE_CURRENT_BINARY_DIR}/tw.kpx.kpxv410.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/tw.kpx.kpxv410.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${packaging}/copyright DESTINATION ${docdir})
install(FILES ${packaging}/lintian-overrides
  DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME ${KPX_PACKAGE_NAME})

# A Debian package's changelog, gzip -9n as Debian wants it (no name or time in the header).
find_program(KPX_GZIP gzip REQUIRED)
string(TIMESTAMP changelog_date "%a, %d %b %Y 00:00:00 +0000" UTC)
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/changelog
  "${KPX_PACKAGE_NAME} (${PROJECT_VERSION}) unstable; urgency=medium\n\n"
  "  * Release ${PROJECT_VERSION}.\n\n"
  " -- The kpxv410 developers <kpxv410@users.noreply.invalid>  ${changelog_date}\n")
add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
  COMMAND ${KPX_GZIP} -9nkf ${CMAKE_CURRENT_BINARY_DIR}/changelog
  DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/changelog)

# Man pages: the window's written by hand, the tools' made from their own --help, so that they
# never disagree with it.
find_program(KPX_HELP2MAN help2man)
set(man_pages ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz ${CMAKE_CURRENT_BINARY_DIR}/man/kpxv410.1.gz)
configure_file(${packaging}/kpxv410.1.in ${CMAKE_CURRENT_BINARY_DIR}/man/kpxv410.1 @ONLY)
add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/man/kpxv410.1.gz
  COMMAND ${KPX_GZIP} -9nkf ${CMAKE_CURRENT_BINARY_DIR}/man/kpxv410.1
  DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/man/kpxv410.1)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/man/kpxv410.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
if(KPX_HELP2MAN)
  foreach(tool_and_summary
      "kpx-make|compile a data file into a lexicon table"
      "kpx-dump|check a lexicon table and list its entries"
      "kpx-convert|carry word lists between data files and other input methods")
    string(REPLACE "|" ";" parts "${tool_and_summary}")
    list(GET parts 0 tool)
    list(GET parts 1 summary)
    set(page ${CMAKE_CURRENT_BINARY_DIR}/man/${tool}.1)
    add_custom_command(OUTPUT ${page}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/man
      COMMAND ${KPX_HELP2MAN} --no-info --version-string=${PROJECT_VERSION} --name=${summary}
              --output=${page} $<TARGET_FILE:${tool}>
      COMMAND ${KPX_GZIP} -9nf ${page}
      DEPENDS ${tool} VERBATIM)
    list(APPEND man_pages ${page}.gz)
    install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endforeach()
else()
  message(STATUS "help2man not found: the package is made without man pages")
endif()
add_custom_target(kpx_package_files ALL DEPENDS ${man_pages})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz DESTINATION ${docdir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${KPX_PACKAGE_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The kpxv410 developers <kpxv410@users.noreply.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "word-table tool of the 鷺笙 Taiwanese input method")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Users of the 鷺笙 Taiwanese input method keep their own words in plain-text\n"
  "data files (Big5, one input key and its text per line). This package holds\n"
  "the window kpxv410, which edits these files in 30 slots and compiles them\n"
  "into the binary word tables (.zd) the input method loads, and the\n"
  "command-line tools kpx-make, kpx-dump and kpx-convert, which do the same\n"
  "without a window and carry word lists to and from RIME and fcitx5.")
string(REPLACE ";" "" CPACK_DEBIAN_PACKAGE_DESCRIPTION "${CPACK_DEBIAN_PACKAGE_DESCRIPTION}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own dialogs in the program's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-arphic-uming | fonts-noto-cjk")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_INSTALL_DIRECTORY ${KPX_PACKAGE_NAME})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
include(CPack)
