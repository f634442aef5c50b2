# The version the programs show, and what `cmake --install` puts where
# (GNUInstallDirs; `make install PREFIX=...` wraps it):
#   bin/velmora, bin/velmora-cli
#   share/velmora/                 Config/, Lang/, Help/, sound.wav, examples/
#   share/applications/            velmora.desktop
#   share/icons/hicolor/           the icon as SVG and PNG, and the project file icon
#   share/metainfo/                AppStream metadata
#   share/mime/packages/           the project file types (.vlp, .qln)
#   share/man/man1/                velmora(1), velmora-cli(1)
#   share/bash-completion/         completion of velmora-cli
#   share/doc/velmora/             copyright, changelog
# The installed programs find share/velmora as ../share/velmora beside
# themselves (engine/paths.h).
include(GNUInstallDirs)

# The one version number: project(VERSION) in CMakeLists.txt. It reaches the
# programs through the generated header velmora_version.h, the AppStream
# release, the manual pages and the package. The date is that of the release.
set(VELMORA_RELEASE_DATE "2026-12-10")
set(VELMORA_RELEASE_DATE_RFC2822 "Thu, 10 Dec 2026 00:00:00 +0000")

set(VELMORA_GENERATED ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/packaging/velmora_version.h.in ${VELMORA_GENERATED}/velmora_version.h @ONLY)
target_include_directories(common_options INTERFACE ${VELMORA_GENERATED})

set(VELMORA_DATA_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/velmora)
set(VELMORA_DOC_INSTALL_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/velmora)

# --- Programs and program data -------------------------------------------
install(TARGETS velmora-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET velmora)
    install(TARGETS velmora RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/ DESTINATION ${VELMORA_DATA_INSTALL_DIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples DESTINATION ${VELMORA_DATA_INSTALL_DIR})

# --- Desktop integration ---------------------------------------------------
install(FILES ${CMAKE_SOURCE_DIR}/packaging/velmora.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/velmora-mime.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME velmora.xml)

configure_file(${CMAKE_SOURCE_DIR}/packaging/velmora.metainfo.xml.in
    ${VELMORA_GENERATED}/example.velmora.Velmora.metainfo.xml @ONLY)
install(FILES ${VELMORA_GENERATED}/example.velmora.Velmora.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The icon is drawn once, as the SVG the About box shows too; the PNG sizes
# are rendered from it.
set(VELMORA_ICON ${CMAKE_SOURCE_DIR}/app/icons/velmora.svg)
set(VELMORA_ICON_DIR ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${VELMORA_ICON} DESTINATION ${VELMORA_ICON_DIR}/scalable/apps)
install(FILES ${VELMORA_ICON} DESTINATION ${VELMORA_ICON_DIR}/scalable/mimetypes
    RENAME application-x-velmora-project.svg)
find_program(VELMORA_RSVG_CONVERT rsvg-convert)
if(VELMORA_RSVG_CONVERT)
    set(icon_files)
    foreach(size 16 22 24 32 48 64 128 256)
        set(png ${CMAKE_BINARY_DIR}/icons/${size}x${size}/velmora.png)
        add_custom_command(OUTPUT ${png}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
            COMMAND ${VELMORA_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${VELMORA_ICON}
            DEPENDS ${VELMORA_ICON} VERBATIM)
        list(APPEND icon_files ${png})
        install(FILES ${png} DESTINATION ${VELMORA_ICON_DIR}/${size}x${size}/apps)
    endforeach()
    add_custom_target(velmora_icons ALL DEPENDS ${icon_files})
else()
    message(WARNING "rsvg-convert (librsvg2-bin) not found: only the scalable icon is installed")
endif()

# --- Manual pages, completion, documents -----------------------------------
# Debian keeps manual pages and changelogs compressed; man reads them so.
# The pages name the data folder of the prefix installed to, which is known
# only when installing (`--prefix`, or /usr in the package).
install(CODE "
    set(PROJECT_VERSION \"${PROJECT_VERSION}\")
    set(VELMORA_RELEASE_DATE \"${VELMORA_RELEASE_DATE}\")
    set(VELMORA_DATA_PATH \"\${CMAKE_INSTALL_PREFIX}/${VELMORA_DATA_INSTALL_DIR}\")
    foreach(page velmora velmora-cli)
        set(made \"${VELMORA_GENERATED}/man/\${page}.1\")
        configure_file(\"${CMAKE_SOURCE_DIR}/packaging/man/\${page}.1.in\" \"\${made}\" @ONLY)
        execute_process(COMMAND gzip -9nf \"\${made}\" RESULT_VARIABLE failed)
        if(failed)
            message(FATAL_ERROR \"gzip failed on \${made}\")
        endif()
        file(INSTALL \"\${made}.gz\" DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_MANDIR}/man1\")
    endforeach()
")
configure_file(${CMAKE_SOURCE_DIR}/packaging/debian/changelog.in ${VELMORA_GENERATED}/changelog @ONLY)
add_custom_command(OUTPUT ${VELMORA_GENERATED}/changelog.gz
    COMMAND sh -c "gzip -9n -c '${VELMORA_GENERATED}/changelog' > '${VELMORA_GENERATED}/changelog.gz'"
    DEPENDS ${VELMORA_GENERATED}/changelog VERBATIM)
add_custom_target(velmora_docs ALL DEPENDS ${VELMORA_GENERATED}/changelog.gz)
install(FILES ${VELMORA_GENERATED}/changelog.gz ${CMAKE_SOURCE_DIR}/packaging/debian/copyright
    DESTINATION ${VELMORA_DOC_INSTALL_DIR})

install(FILES ${CMAKE_SOURCE_DIR}/packaging/bash-completion/velmora-cli
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
