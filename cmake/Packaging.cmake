# A Debian package: the executable, links to Debian's ffprobe and ffmpeg as its
# two tools (depending on the ffmpeg package rather than copying it), the
# desktop entry and the icons.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessaly)
set(CPACK_PACKAGE_VENDOR "Tessaly")
set(CPACK_PACKAGE_CONTACT "Tessaly <support@tessaly.app>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Crop a video file and save it as MP4")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Tessaly crops one video file at a time: open a video, drag a crop rectangle\n over one of eleven still frames, and save the result as an MP4 file.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "ffmpeg")
# Qt's own dialogs in the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
include(CPack)
