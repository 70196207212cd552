# The Debian package, made by CPack from the install rules: `make deb`, or
#   cmake --build build --target tavrin-sound-recorder tavrin_man_page && (cd build && cpack -G DEB)
# It holds /usr/bin/tavrin-sound-recorder, /usr/share/tavrin-sound-recorder/, the icon, the
# menu entry, the metainfo file and the manual page; its run-time dependencies are read from
# the executable by dpkg-shlibdeps (dpkg-dev).

# cpack installs what is built and builds nothing itself: without this, it would first make
# every target, the tests and benchmarks included.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavrin-sound-recorder)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tavrin Sound Recorder developers")
set(CPACK_PACKAGE_CONTACT "Tavrin Sound Recorder developers <dev@tavrin.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "sound recorder for MP3, WAV, WMA, FLAC, Ogg Vorbis and Opus")
# The extended description, in lines short enough for apt's 80 columns.
set(CPACK_PACKAGE_DESCRIPTION
  "Tavrin Sound Recorder records what an input device hears - a microphone,\n\
the sound the computer plays, one application's sound, or the microphone\n\
mixed with the computer's sound - into MP3, WAV, WMA, FLAC, Ogg Vorbis or\n\
Opus files, with automatic file names, an optional time limit and\n\
automatic splitting.\n\
\n\
It plays files back with a 12-band equalizer, shows a live spectrum and\n\
level meters, edits ID3 tags and Vorbis comments, and adjusts the mixer\n\
lines of the chosen devices. A recording cut short by a crash or a power\n\
cut is repaired at the next start. It works with PulseAudio and with\n\
PipeWire's PulseAudio server.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://tavrin.example.org/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)            # tavrin-sound-recorder_3.1.0-1_amd64.deb
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads the SVG icons through plugins, which dpkg-shlibdeps cannot see in the executable;
# Qt's own catalogues translate its standard buttons.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, qt6-translations-l10n")
# A sound server to record from and play to; Wayland desktops show the window natively.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "pulseaudio | pipewire-pulse, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

include(CPack)
