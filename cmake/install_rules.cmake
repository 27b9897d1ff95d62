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
