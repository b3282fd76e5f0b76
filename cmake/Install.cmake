# `cmake --install`: the programs to bin/, what they read to share/vaultwing/ (the programs find
# it there from ../share/vaultwing, see src/platform/Folders.h), and the desktop's pieces: a
# launcher, the icon, AppStream metainfo, the .vwx file type, manual pages and bash completion.
include(GNUInstallDirs)
set(app_id io.github.vaultwing.VWX)
set(linux_dir ${CMAKE_SOURCE_DIR}/resources/linux)
set(share_dir ${CMAKE_INSTALL_DATADIR}/vaultwing)

install(TARGETS vaultwing RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET VWX)
    install(TARGETS VWX RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

file(GLOB installed_lang_files ${CMAKE_SOURCE_DIR}/lang/*.lng)
install(FILES ${installed_lang_files} DESTINATION ${share_dir})
if(TARGET mkmanual)
    install(FILES ${CMAKE_BINARY_DIR}/bin/Manual.pdf ${CMAKE_BINARY_DIR}/bin/Bedienungsanleitung.pdf
            DESTINATION ${share_dir})
endif()

install(FILES ${linux_dir}/${app_id}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${linux_dir}/${app_id}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${linux_dir}/vaultwing.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${linux_dir}/vaultwing.bash DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME vaultwing)
foreach(size 16 24 32 48 64 128 256)
    install(FILES ${CMAKE_SOURCE_DIR}/resources/VWX_icon_${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${app_id}.png)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/resources/VWX_icon.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${app_id}.svg)

# Manual pages and the package's change log go in compressed, as Debian's policy asks (-n: no
# name or time stamp in the archive, so the result is reproducible).
set(compressed_outputs)
set(compressed_man1)
foreach(source ${linux_dir}/vaultwing.1 ${linux_dir}/VWX.1 ${linux_dir}/changelog)
    get_filename_component(name ${source} NAME)
    set(output ${CMAKE_BINARY_DIR}/share/${name}.gz)
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/share
        COMMAND sh -c "gzip -9nc '${source}' > '${output}'"
        DEPENDS ${source} VERBATIM)
    list(APPEND compressed_outputs ${output})
    if(name MATCHES "\\.1$")
        list(APPEND compressed_man1 ${output})
    endif()
endforeach()
add_custom_target(vaultwing_compressed_docs ALL DEPENDS ${compressed_outputs})
install(FILES ${compressed_man1} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/share/changelog.gz ${linux_dir}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vaultwing)
