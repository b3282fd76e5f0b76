# Windows builds. With the shared MinGW runtime (toolchain option VAULTWING_MINGW_SHARED_RUNTIME)
# its DLLs are copied beside the programs, so that they start from the build folder too.
#
# With VWX (preset mingw-gui), `cmake --build --preset mingw-gui --target deploy` lays out
# build/mingw-gui/Vaultwing-<version>/, a folder that runs as it is wherever it is copied:
# the two programs, the Qt DLLs and the plugins VWX loads (the Windows platform and the Windows
# style; plain HTTP needs no TLS plugin, drawn icons no image plugin), the MinGW runtime, the
# language files, the icon and the manuals. `cmake --install` with another --prefix does the same.
if(VAULTWING_MINGW_RUNTIME_DLLS)
    add_custom_target(vaultwing_mingw_runtime ALL
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${VAULTWING_MINGW_RUNTIME_DLLS} ${CMAKE_BINARY_DIR}/bin)
endif()

if(NOT TARGET VWX)
    return()
endif()

# Qt's imported targets are known in src/gui only; the install rules here need them too.
find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets Network)

# Install only what was built; the deploy target builds what the folder needs, not the tests.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
install(TARGETS VWX vaultwing RUNTIME DESTINATION .)
if(VAULTWING_MINGW_RUNTIME_DLLS)
    install(FILES ${VAULTWING_MINGW_RUNTIME_DLLS} DESTINATION .)
endif()
install(IMPORTED_RUNTIME_ARTIFACTS Qt6::Core Qt6::Gui Qt6::Widgets Qt6::Network RUNTIME DESTINATION .)
install(IMPORTED_RUNTIME_ARTIFACTS Qt6::QWindowsIntegrationPlugin LIBRARY DESTINATION platforms)
install(IMPORTED_RUNTIME_ARTIFACTS Qt6::QWindowsVistaStylePlugin LIBRARY DESTINATION styles)
file(GLOB deployed_lang_files ${CMAKE_SOURCE_DIR}/lang/*.lng)
install(FILES ${deployed_lang_files} DESTINATION .)
install(FILES ${CMAKE_SOURCE_DIR}/resources/VWX_icon.ico ${CMAKE_SOURCE_DIR}/resources/VWX_icon.png
              ${CMAKE_SOURCE_DIR}/resources/VWX_icon.svg DESTINATION .)
install(FILES ${CMAKE_BINARY_DIR}/bin/Manual.pdf ${CMAKE_BINARY_DIR}/bin/Bedienungsanleitung.pdf
        DESTINATION . OPTIONAL)
# `--strip` strips the targets; the DLLs copied in as they are get the same treatment here.
install(CODE "set(vaultwing_strip \"${CMAKE_STRIP}\")")
install(CODE [[
    if(CMAKE_INSTALL_DO_STRIP AND vaultwing_strip)
        set(copied_binaries ${CMAKE_INSTALL_MANIFEST_FILES})
        list(FILTER copied_binaries INCLUDE REGEX "\\.dll$")
        execute_process(COMMAND ${vaultwing_strip} --strip-unneeded ${copied_binaries} COMMAND_ERROR_IS_FATAL ANY)
    endif()
]])

set(deploy_dir ${CMAKE_BINARY_DIR}/Vaultwing-${PROJECT_VERSION})
add_custom_target(deploy
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${deploy_dir}
    COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${deploy_dir} --strip
    COMMENT "Laying out ${deploy_dir}" VERBATIM)
add_dependencies(deploy VWX vaultwing vaultwing_lang vaultwing_resources)

# The installer Vaultwing-<version>-setup.exe (resources/windows/installer.nsi), from the deploy
# folder, when NSIS's makensis is installed.
find_program(VAULTWING_MAKENSIS makensis)
if(VAULTWING_MAKENSIS)
    set(installer ${CMAKE_BINARY_DIR}/Vaultwing-${PROJECT_VERSION}-setup.exe)
    add_custom_target(installer
        COMMAND ${CMAKE_COMMAND} -DDEPLOY_DIR=${deploy_dir} -DFILES_NSH=${CMAKE_BINARY_DIR}/installer-files.nsh
                -DUNFILES_NSH=${CMAKE_BINARY_DIR}/installer-unfiles.nsh -P ${CMAKE_SOURCE_DIR}/cmake/InstallerFiles.cmake
        COMMAND ${VAULTWING_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DDEPLOY_DIR=${deploy_dir} -DOUTFILE=${installer}
                -DFILES_NSH=${CMAKE_BINARY_DIR}/installer-files.nsh -DUNFILES_NSH=${CMAKE_BINARY_DIR}/installer-unfiles.nsh
                ${CMAKE_SOURCE_DIR}/resources/windows/installer.nsi
        COMMENT "Building ${installer}" VERBATIM)
    add_dependencies(installer deploy)
endif()
