# What a distribution takes besides the programs and their data: the man pages, the AppStream
# metainfo, the copyright and changelog files, and the Debian package that `cpack -G DEB`
# makes from a Release build (the package test in tests/install builds and checks it).

set(CULVORA_DEB_RELEASE 1)
set(CULVORA_DEB_VERSION "${PROJECT_VERSION}-${CULVORA_DEB_RELEASE}")
set(CULVORA_GENERATED "${PROJECT_BINARY_DIR}/dist")

find_program(GZIP_PROGRAM gzip REQUIRED)

# Debian's way: the highest compression, and no name or time stamp in the file, so that the
# same source makes the same bytes.
function(culvora_gzip source target)
  add_custom_command(OUTPUT "${target}"
                     COMMAND "${GZIP_PROGRAM}" -9 -n -c "${source}" > "${target}"
                     DEPENDS "${source}" ${ARGN} VERBATIM)
endfunction()

# --- Man pages -------------------------------------------------------------------------------
set(man_pages)
if(TARGET culvora)
  configure_file(dist/culvora.1 "${CULVORA_GENERATED}/culvora.1" @ONLY)
  culvora_gzip("${CULVORA_GENERATED}/culvora.1" "${CULVORA_GENERATED}/culvora.1.gz")
  list(APPEND man_pages "${CULVORA_GENERATED}/culvora.1.gz")
endif()

# culvora-cli(1) is written by the program from its command table (culvora-cli --man, the
# target culvora-cli-man in src/), so it lists exactly the commands the program takes.
if(TARGET culvora-cli-man)
  culvora_gzip("${PROJECT_BINARY_DIR}/src/culvora-cli.1" "${CULVORA_GENERATED}/culvora-cli.1.gz"
               culvora-cli-man)
  list(APPEND man_pages "${CULVORA_GENERATED}/culvora-cli.1.gz")
endif()

# --- Documentation ---------------------------------------------------------------------------
configure_file(dist/debian/changelog.in "${CULVORA_GENERATED}/changelog.Debian" @ONLY)
culvora_gzip("${CULVORA_GENERATED}/changelog.Debian" "${CULVORA_GENERATED}/changelog.Debian.gz")

add_custom_target(culvora-dist ALL
                  DEPENDS ${man_pages} "${CULVORA_GENERATED}/changelog.Debian.gz")
if(TARGET culvora-cli-man)
  add_dependencies(culvora-dist culvora-cli-man)
endif()

install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES dist/org.example.culvora.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES dist/debian/copyright "${CULVORA_GENERATED}/changelog.Debian.gz"
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/culvora)
install(FILES dist/debian/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides
        RENAME culvora)

# --- The Debian package ----------------------------------------------------------------------
set(CPACK_PACKAGE_NAME culvora)
set(CPACK_PACKAGE_VENDOR "The Culvora developers")
set(CPACK_PACKAGE_CONTACT "Culvora developers <maintainers@culvora.example.org>")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "cookbook for the home kitchen")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${CULVORA_DEB_RELEASE})
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://culvora.example.org/")
# The summary line is CPACK_PACKAGE_DESCRIPTION_SUMMARY; this is the text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Culvora keeps recipes in several cookbooks: browse them alphabetically, read,
add, edit, move, delete and print recipes, and find them again by type,
cooking time or what is in the fridge. It looks up nutrition values, composes
the week's dinners, keeps drinks, imports Meal-Master archives, makes a web
archive of a cookbook, makes backups, and swaps recipes with other cooks over
an exchange server (the server script comes with the package).
.
culvora-cli does the same work on the command line, without a display.")
# The libraries the programs link come from dpkg-shlibdeps. libcurl is opened with dlopen when
# the exchange connects, so it is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libcurl4")
# The picture window reads TIFF and WebP photos with the image-format plugins; the printouts
# want fonts as wide as the ones they ask for; the browser's letter headings use Dancing Script.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "qt6-image-formats-plugins, fonts-liberation, fonts-dancingscript")
# The exchange server script is for whoever runs an exchange.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "python3, python3-pyftpdlib")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
