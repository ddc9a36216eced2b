# Writes README-ja.txt into the build folder: the usage text in Japanese
# (README-ja.txt of the sources) as UTF-8 with a byte order mark and CR LF
# line ends, so that Windows Notepad shows it correctly.
file(READ ${PROJECT_SOURCE_DIR}/README-ja.txt text)
# The text names the version and the files of the release: a new version
# must not ship the old text.
string(FIND "${text}" "${PROJECT_NAME}-${PROJECT_VERSION}-windows.zip" named)
if(named EQUAL -1)
  message(FATAL_ERROR "README-ja.txt does not name ${PROJECT_NAME}-${PROJECT_VERSION}-windows.zip")
endif()
string(REPLACE "\n" "\r\n" text "${text}")
string(ASCII 239 187 191 bom)
set(usage_text ${CMAKE_BINARY_DIR}/README-ja.txt)
file(WRITE ${usage_text} "${bom}${text}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/README-ja.txt)
