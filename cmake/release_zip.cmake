# Makes NAME.zip and NAME.zip.sha256 in the current folder (cmake -P, run by
# the "zip" and "web-release" targets) from FILES (paths, each kept under
# its own name): at the zip's top level, so that Windows' "Extract all"
# makes one folder with the .exe in it, or in the folder TOP inside it.
# Stored so that the same commit gives the same bytes wherever and whenever
# it is built: the times are the commit's (SOURCE_DATE_EPOCH, else
# `git log -1 --format=%ct` in SOURCE), the modes fixed (an .exe
# executable), the order by name, and Info-ZIP's zip stores neither extra
# fields (-X) nor folders (-D), its times read in UTC.
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
set(stage ${NAME})
if(TOP)
  set(stage ${NAME}/${TOP})
endif()
file(MAKE_DIRECTORY ${stage})
set(names "")
foreach(path ${FILES})
  get_filename_component(name ${path} NAME)
  file(COPY_FILE ${path} ${stage}/${name})
  set(mode OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  if(name MATCHES "\\.exe$")
    list(APPEND mode OWNER_EXECUTE GROUP_EXECUTE WORLD_EXECUTE)
  endif()
  file(CHMOD ${stage}/${name} PERMISSIONS ${mode})
  if(TOP)
    set(name ${TOP}/${name})
  endif()
  list(APPEND names ${name})
endforeach()
list(SORT names)
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC ${touch} -d @${epoch} ${names}
  WORKING_DIRECTORY ${NAME} COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC ${zip} -q -X -D ../${NAME}.zip ${names}
  WORKING_DIRECTORY ${NAME} COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE_RECURSE ${NAME})
file(SHA256 ${NAME}.zip sum)
file(WRITE ${NAME}.zip.sha256 "${sum}  ${NAME}.zip\n")
message(STATUS "${NAME}.zip: sha256 ${sum}")
