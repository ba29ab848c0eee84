# The Debian package that scripts/package.sh builds: build/marvoxa_<version>_<arch>.deb.
# dpkg-shlibdeps finds the linked libraries; what the programs load or run without linking it
# is named here.

set(doc_folder ${CMAKE_INSTALL_DATADIR}/doc/marvoxa)
install(FILES packaging/copyright DESTINATION ${doc_folder})
# The changelog of a native package, gzipped without a time stamp as Debian's tools do it.
set(changelog ${CMAKE_BINARY_DIR}/packaging/changelog)
configure_file(packaging/changelog.in ${changelog} @ONLY)
add_custom_command(OUTPUT ${changelog}.gz
    COMMAND gzip -9 -n -k -f ${changelog}
    DEPENDS ${changelog}
    VERBATIM)
add_custom_target(marvoxa_changelog ALL DEPENDS ${changelog}.gz)
install(FILES ${changelog}.gz DESTINATION ${doc_folder})
# The examples the manual page converts.
install(FILES examples/rethymno.srt examples/rethymno.sub DESTINATION ${doc_folder}/examples)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME marvoxa)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Marvoxa developers")
set(CPACK_PACKAGE_CONTACT "The Marvoxa developers <maker@marvoxa.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turn text subtitles into a DVD subpicture stream")
set(CPACK_PACKAGE_DESCRIPTION
    "Marvoxa turns a text subtitle file (SRT, WebVTT, ASS/SSA or the frame-numbered
SUB/TXT form, or the text track of an MKV, MP4 or WebM video) into a DVD-Video
subpicture stream (a SUP file) that DVD authoring tools
multiplex into a title. It draws every subtitle in exactly four colours of
the title set's subpicture palette, read from its IFO file or a generic grey
palette, and previews it over a video still.

Besides the stream it writes VobSub files for players and mkvmerge, pictures
for dvdauthor's spumux, or a copy of a finished DVD with the subtitles as one
more subtitle stream of a title.

The package holds the window, marvoxa, and the headless converter,
marvoxa-cli.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# build/marvoxa_<version>_<arch>.deb, the name Debian's tools give it.
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR})
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Fonts are found by fontconfig, not linked: Liberation Sans stands in for Arial, the default
# face; DejaVu and WenQuanYi Micro Hei draw the scripts Liberation lacks (Chinese, Japanese and
# Korean among them), and Noto the scripts that need shaping (Indic, Khmer, Myanmar, Sinhala,
# Thai, Ethiopic): a required font, since without it those subtitles come out as boxes.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-liberation2, fonts-dejavu-core, fonts-wqy-microhei, fonts-noto-core")
# The tools that finish the disc, named in the reports and the manual pages; Marvoxa runs none.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "dvdauthor, ffmpeg, mkvtoolnix, lsdvd, handbrake-cli, genisoimage")

include(CPack)
