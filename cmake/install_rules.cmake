# What `cmake --install` puts on a system; the Debian package holds exactly this.

# The package's version is the program's.
file(STRINGS ${PROJECT_SOURCE_DIR}/debian/changelog TWK_CHANGELOG_TOP LIMIT_COUNT 1)
if(NOT TWK_CHANGELOG_TOP MATCHES "^tarnwick \\(${PROJECT_VERSION}\\)")
    message(FATAL_ERROR "debian/changelog is not at version ${PROJECT_VERSION}: ${TWK_CHANGELOG_TOP}")
endif()

# The read-only program folder, as the build lays it out in bin/.
install(TARGETS tarnwick RUNTIME DESTINATION ${TWK_INSTALL_PROGRAM_DIR})
install(TARGETS twkd LIBRARY DESTINATION ${TWK_INSTALL_PROGRAM_DIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/languages/
        DESTINATION ${TWK_INSTALL_PROGRAM_DIR}/languages FILES_MATCHING PATTERN "*.twl")

# The settings helper beside the program, and the polkit action under which pkexec starts it.
# The policy names the helper by its installed path, so it is made for the prefix given at
# install time. Component settings_helper: the privileged-save test installs these alone.
install(TARGETS tarnwick-settings RUNTIME DESTINATION ${TWK_INSTALL_PROGRAM_DIR}
        COMPONENT settings_helper)
set(TWK_POLICY org.brindle.tarnwick.change-settings.policy)
install(CODE "
    set(TWK_SETTINGS_HELPER_PATH \"\${CMAKE_INSTALL_PREFIX}/${TWK_INSTALL_PROGRAM_DIR}/tarnwick-settings\")
    configure_file(\"${PROJECT_SOURCE_DIR}/resources/polkit/${TWK_POLICY}.in\"
                   \"${PROJECT_BINARY_DIR}/${TWK_POLICY}\" @ONLY)
" COMPONENT settings_helper)
install(FILES ${PROJECT_BINARY_DIR}/${TWK_POLICY}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/polkit-1/actions COMPONENT settings_helper)

# tarnwick on the PATH is a relative link into the program folder; the kernel resolves it, so
# the program still finds its languages and helper library beside its real self.
file(RELATIVE_PATH TWK_BIN_LINK_TARGET ${CMAKE_INSTALL_FULL_BINDIR}
     ${TWK_INSTALL_FULL_PROGRAM_DIR}/tarnwick)
install(CODE "
    set(link \"\$ENV{DESTDIR}${CMAKE_INSTALL_FULL_BINDIR}/tarnwick\")
    message(STATUS \"Installing: \${link} -> ${TWK_BIN_LINK_TARGET}\")
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}${CMAKE_INSTALL_FULL_BINDIR}\")
    file(CREATE_LINK \"${TWK_BIN_LINK_TARGET}\" \"\${link}\" SYMBOLIC)
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${link}\")
")

# The guard service's report folders: root writes, every user reads.
foreach(folder reports quarantine)
    install(DIRECTORY DESTINATION "${TWK_INSTALL_FULL_DATA_DIR}/${folder}/sended reports"
            DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
                                  GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endforeach()

# Desktop integration: menu entry, icon, software-centre data, manual page.
set(TWK_APP_ID org.brindle.tarnwick)
install(FILES ${PROJECT_SOURCE_DIR}/resources/desktop/${TWK_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/skin/app_icon.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${TWK_APP_ID}.svg)
install(FILES ${PROJECT_SOURCE_DIR}/resources/desktop/${TWK_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/resources/desktop/tarnwick.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
