# What `cmake --install` puts on a system; the Debian package holds exactly this.

# The package's version is the program's.
file(STRINGS ${PROJECT_SOURCE_DIR}/debian/changelog TWK_CHANGELOG_TOP LIMIT_COUNT 1)
if(NOT TWK_CHANGELOG_TOP MATCHES "^tarnwick \\(${PROJECT_VERSION}\\)")
    message(FATAL_ERROR "debian/changelog is not at version ${PROJECT_VERSION}: ${TWK_CHANGELOG_TOP}")
endif()

# Files go under the prefix given at install time (cmake --install --prefix), which the install
# code below reads as TWK_PREFIX: absolute, and empty for the root as CMake's own rules have it.
install(CODE "
    set(TWK_PREFIX \"\${CMAKE_INSTALL_PREFIX}\")
    if(NOT TWK_PREFIX STREQUAL \"\" AND NOT IS_ABSOLUTE \"\${TWK_PREFIX}\")
        get_filename_component(TWK_PREFIX \"\${TWK_PREFIX}\" ABSOLUTE)
    endif()
" ALL_COMPONENTS)

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
    set(TWK_SETTINGS_HELPER_PATH \"\${TWK_PREFIX}/${TWK_INSTALL_PROGRAM_DIR}/tarnwick-settings\")
    configure_file(\"${PROJECT_SOURCE_DIR}/resources/polkit/${TWK_POLICY}.in\"
                   \"${PROJECT_BINARY_DIR}/${TWK_POLICY}\" @ONLY)
" COMPONENT settings_helper)
install(FILES ${PROJECT_BINARY_DIR}/${TWK_POLICY}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/polkit-1/actions COMPONENT settings_helper)

# tarnwick on the PATH is a relative link into the program folder; the kernel resolves it, so
# the program still finds its languages and helper library beside its real self.
install(CODE "
    set(bin_dir \"${CMAKE_INSTALL_BINDIR}\")
    if(NOT IS_ABSOLUTE \"\${bin_dir}\")
        set(bin_dir \"\${TWK_PREFIX}/\${bin_dir}\")
    endif()
    file(RELATIVE_PATH target \"\${bin_dir}\" \"\${TWK_PREFIX}/${TWK_INSTALL_PROGRAM_DIR}/tarnwick\")
    set(link \"\$ENV{DESTDIR}\${bin_dir}/tarnwick\")
    message(STATUS \"Installing: \${link} -> \${target}\")
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${bin_dir}\")
    file(CREATE_LINK \"\${target}\" \"\${link}\" SYMBOLIC)
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${link}\")
")

# The guard service's report folders: root writes, every user reads. They lie under the variable
# data folder that configuring with the install-time prefix would have given (GNUInstallDirs'
# rule: /var for the prefixes / and /usr, /var/opt/NAME for /opt/NAME, else PREFIX/var), which
# is where a program configured with that prefix looks for them.
install(CODE "
    set(state_dir \"${CMAKE_INSTALL_LOCALSTATEDIR}\")
    if(IS_ABSOLUTE \"\${state_dir}\")
    elseif(TWK_PREFIX MATCHES \"^(/usr)?$\")
        set(state_dir \"/\${state_dir}\")
    elseif(TWK_PREFIX MATCHES \"^/opt/\")
        set(state_dir \"/\${state_dir}\${TWK_PREFIX}\")
    else()
        set(state_dir \"\${TWK_PREFIX}/\${state_dir}\")
    endif()
    foreach(folder reports quarantine)
        file(INSTALL DESTINATION \"\${state_dir}/lib/tarnwick/\${folder}/sended reports\"
             TYPE DIRECTORY FILES \"\"
             DIR_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
                             GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    endforeach()
")

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
