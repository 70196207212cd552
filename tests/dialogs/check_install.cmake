# Installs the build into a fresh prefix and checks that every file lands where the program
# and the desktop look for it.
#   cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DPREFIX=... -P check_install.cmake

foreach(v BUILD_DIR SOURCE_DIR PREFIX)
  if(NOT ${v})
    message(FATAL_ERROR "${v} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${result}):\n${out}\n${err}")
endif()

set(failures "")
macro(fail text)
  string(APPEND failures "  ${text}\n")
endmacro()

# Installed file -> the source it must equal ("" for what the build makes: the program, the
# compressed manual page, the catalogues).
set(expected
  "bin/tavrin-sound-recorder|"
  "share/tavrin-sound-recorder/tips.txt|data/tips.txt"
  "share/tavrin-sound-recorder/tavrinsoundrecorder.html|data/tavrinsoundrecorder.html"
  "share/icons/hicolor/scalable/apps/tavrin-sound-recorder.svg|data/icons/tavrin-sound-recorder.svg"
  "share/applications/org.example.TavrinSoundRecorder.desktop|data/org.example.TavrinSoundRecorder.desktop"
  "share/metainfo/org.example.TavrinSoundRecorder.metainfo.xml|data/org.example.TavrinSoundRecorder.metainfo.xml"
  "share/man/man1/tavrin-sound-recorder.1.gz|"
  "share/tavrin-sound-recorder/tips_de.txt|data/tips_de.txt"
  "share/tavrin-sound-recorder/tips_fr.txt|data/tips_fr.txt"
  "share/tavrin-sound-recorder/tips_es.txt|data/tips_es.txt"
  "share/tavrin-sound-recorder/translations/tavrin-sound-recorder_de.qm|"
  "share/tavrin-sound-recorder/translations/tavrin-sound-recorder_fr.qm|"
  "share/tavrin-sound-recorder/translations/tavrin-sound-recorder_es.qm|")
foreach(entry ${expected})
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 installed)
  list(LENGTH parts n)
  if(NOT EXISTS ${PREFIX}/${installed})
    fail("missing: ${installed}")
    continue()
  endif()
  if(n GREATER 1)
    list(GET parts 1 source)
    if(source)
      file(SHA256 ${PREFIX}/${installed} got)
      file(SHA256 ${SOURCE_DIR}/${source} want)
      if(NOT got STREQUAL want)
        fail("differs from ${source}: ${installed}")
      endif()
    endif()
  endif()
endforeach()

# The program can be run.
execute_process(COMMAND test -x ${PREFIX}/bin/tavrin-sound-recorder RESULT_VARIABLE notExecutable)
if(notExecutable)
  fail("not executable: bin/tavrin-sound-recorder")
endif()

# Nothing else is installed.
file(GLOB_RECURSE all RELATIVE ${PREFIX} ${PREFIX}/*)
list(LENGTH all count)
list(LENGTH expected wanted)
if(NOT count EQUAL wanted)
  fail("expected ${wanted} files, found ${count}: ${all}")
endif()

# The menu entry's keys.
file(STRINGS ${PREFIX}/share/applications/org.example.TavrinSoundRecorder.desktop desktop)
foreach(line "[Desktop Entry]" "Type=Application" "Name=Tavrin Sound Recorder" "GenericName=Sound Recorder"
             "Exec=tavrin-sound-recorder %f" "Icon=tavrin-sound-recorder" "Terminal=false"
             "Categories=AudioVideo;Audio;Recorder;")
  list(FIND desktop "${line}" at)
  if(at LESS 0)
    fail("desktop entry lacks: ${line}")
  endif()
endforeach()
list(FILTER desktop INCLUDE REGEX "^Comment=.+")
if(NOT desktop)
  fail("desktop entry lacks a Comment")
endif()

find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
if(DESKTOP_FILE_VALIDATE)
  execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} ${PREFIX}/share/applications/org.example.TavrinSoundRecorder.desktop
                  RESULT_VARIABLE invalid OUTPUT_VARIABLE why ERROR_VARIABLE why)
  if(invalid)
    fail("desktop-file-validate: ${why}")
  endif()
else()
  message(STATUS "desktop-file-validate not found; keys checked by hand only")
endif()

if(failures)
  message(FATAL_ERROR "install layout:\n${failures}")
endif()
file(REMOVE_RECURSE ${PREFIX})
message(STATUS "install layout: all files in place")
