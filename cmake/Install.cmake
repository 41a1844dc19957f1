# Installs QUV Select like a Linux desktop program and packages it for Debian with CPack: both
# programs in lib/quvselect with the sample catalogue "QUV" beside them (they look for it beside
# their real file), relative links in bin, the desktop entry, icons, AppStream metadata, manual
# pages and bash completion. The version is the project's, set once in project().

set(QUV_APP_ID com.tavrin.quvselect)
set(QUV_RELEASE_DATE 2026-12-09)
set(QUV_MAINTAINER "QUV Select maintainers <quvselect@tavrin.example>")
set(QUV_HOMEPAGE https://www.tavrin.example/quvselect/)
set(QUV_PROGRAM_DIR lib/quvselect)
set(QUV_PACKAGING ${CMAKE_SOURCE_DIR}/packaging)
set(QUV_GENERATED ${CMAKE_BINARY_DIR}/packaging)

foreach(program quvselect quvtool)
  target_compile_definitions(${program} PRIVATE QUV_VERSION="${PROJECT_VERSION}"
                                                QUV_DESKTOP_ID="${QUV_APP_ID}")
endforeach()

# The changelog's date in the form Debian wants, from the one release date above.
execute_process(COMMAND date -u -R -d "${QUV_RELEASE_DATE} 12:00"
                OUTPUT_VARIABLE QUV_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)

configure_file(${QUV_PACKAGING}/${QUV_APP_ID}.metainfo.xml.in
               ${QUV_GENERATED}/${QUV_APP_ID}.metainfo.xml @ONLY)
configure_file(${QUV_PACKAGING}/copyright.in ${QUV_GENERATED}/copyright @ONLY)
configure_file(${QUV_PACKAGING}/changelog.in ${QUV_GENERATED}/changelog @ONLY)
configure_file(${QUV_PACKAGING}/man/quvselect.1.in ${QUV_GENERATED}/quvselect.1 @ONLY)
configure_file(${QUV_PACKAGING}/man/quvtool.1.in ${QUV_GENERATED}/quvtool.1 @ONLY)

# Manual pages and the changelog are installed compressed, without a time stamp in the gzip
# header so that two builds give the same package.
find_program(QUV_GZIP gzip REQUIRED)
set(compressed)
foreach(file quvselect.1 quvtool.1 changelog)
  add_custom_command(OUTPUT ${QUV_GENERATED}/${file}.gz
    COMMAND ${QUV_GZIP} -9nc ${QUV_GENERATED}/${file} > ${QUV_GENERATED}/${file}.gz
    DEPENDS ${QUV_GENERATED}/${file} VERBATIM)
  list(APPEND compressed ${QUV_GENERATED}/${file}.gz)
endforeach()
add_custom_target(quv_install_docs ALL DEPENDS ${compressed})

install(TARGETS quvselect quvtool RUNTIME DESTINATION ${QUV_PROGRAM_DIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/QUV DESTINATION ${QUV_PROGRAM_DIR}
        FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

# Relative links, so the tree works wherever it is unpacked (DESTDIR, another prefix).
file(MAKE_DIRECTORY ${QUV_GENERATED}/bin)
foreach(program quvselect quvtool)
  file(CREATE_LINK ../${QUV_PROGRAM_DIR}/${program} ${QUV_GENERATED}/bin/${program} SYMBOLIC)
  install(FILES ${QUV_GENERATED}/bin/${program} DESTINATION bin)
endforeach()

install(FILES ${QUV_PACKAGING}/${QUV_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${QUV_GENERATED}/${QUV_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${QUV_PACKAGING}/icons/${QUV_APP_ID}.svg
        DESTINATION share/icons/hicolor/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${QUV_PACKAGING}/icons/${size}x${size}/${QUV_APP_ID}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${QUV_GENERATED}/quvselect.1.gz ${QUV_GENERATED}/quvtool.1.gz
        DESTINATION share/man/man1)
install(FILES ${QUV_PACKAGING}/bash-completion/quvtool
        DESTINATION share/bash-completion/completions)
install(FILES ${QUV_GENERATED}/copyright ${QUV_GENERATED}/changelog.gz
        DESTINATION share/doc/quvselect)

if(QUV_BUILD_TESTS)
  # The installed tree, checked with the distribution's validators; the programs run through
  # their links from a temporary DESTDIR.
  add_test(NAME install_tree_validates
    COMMAND bash ${QUV_PACKAGING}/tests/install_tree_test.sh ${CMAKE_BINARY_DIR}
            ${PROJECT_VERSION} ${QUV_APP_ID})
  add_test(NAME quvtool_completion_and_manual_cover_commands
    COMMAND bash ${QUV_PACKAGING}/tests/completion_test.sh ${QUV_PACKAGING}
            $<TARGET_FILE:quvtool> ${QUV_GENERATED}/quvtool.1)
  set_tests_properties(install_tree_validates quvtool_completion_and_manual_cover_commands
                       PROPERTIES LABELS packaging)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quvselect)
set(CPACK_PACKAGE_VENDOR "Tavrin Corporation")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${QUV_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${QUV_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${QUV_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "selection tool for base station antennas
QUV Select helps radio network planners pick base station antennas from a
maker's catalogue of measured antenna data files: filter the catalogue by
application, frequency range, part number or a combined search, read the
specifications, view the radiation patterns of up to four antennas as polar
plots, export them into the antenna files of 18 radio planning tools and
print specification sheets and pattern pages.
.
The command-line companion quvtool checks catalogues, lists and exports
matches and draws plots as PNG files.")
# The libraries come from dpkg-shlibdeps; Qt's window system plugins are loaded at run time,
# so no linked library names them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# The windows ask for Tahoma, Arial and Courier New; these are their metric-compatible stand-ins.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
