# Makes NAME.zip and NAME.zip.sha256 in the current folder (cmake -P, run by
# the "zip" target): EXE and USAGE at its top level, so that Windows'
# "Extract all" makes one folder with the .exe in it; stored so that the same
# commit gives the same bytes wherever and whenever it is built. Their times
# are the commit's (SOURCE_DATE_EPOCH, else `git log -1 --format=%ct` in
# SOURCE), their modes fixed, their order given, and Info-ZIP's zip stores
# neither extra fields (-X) nor folders (-D), its times read in UTC.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(epoch $ENV{SOURCE_DATE_EPOCH})
else()
  execute_process(COMMAND git -C ${SOURCE} log -1 --format=%ct
    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
endif()
find_program(zip zip)
find_program(touch touch)
if(NOT zip OR NOT touch)
  message(FATAL_ERROR "the release zip needs Info-ZIP's zip and touch (apt-get install zip)")
endif()
file(REMOVE_RECURSE ${NAME} ${NAME}.zip ${NAME}.zip.sha256)
file(MAKE_DIRECTORY ${NAME})
file(COPY_FILE ${EXE} ${NAME}/tenapi_outline.exe)
file(COPY_FILE ${USAGE} ${NAME}/README-ja.txt)
file(CHMOD ${NAME}/tenapi_outline.exe PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
file(CHMOD ${NAME}/README-ja.txt PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
set(files README-ja.txt tenapi_outline.exe)
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC ${touch} -d @${epoch} ${files}
  WORKING_DIRECTORY ${NAME} COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC ${zip} -q -X -D ../${NAME}.zip ${files}
  WORKING_DIRECTORY ${NAME} COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE_RECURSE ${NAME})
file(SHA256 ${NAME}.zip sum)
file(WRITE ${NAME}.zip.sha256 "${sum}  ${NAME}.zip\n")
message(STATUS "${NAME}.zip: sha256 ${sum}")
