# Writes OUT: the tools that made a release, beside its .sha256 files, so
# that building the same commit to compare its bytes names what to build
# with (cmake -P). -DOUT=file -DLINES=what the build knew of its tools
find_program(zip zip)
execute_process(COMMAND ${zip} -v OUTPUT_VARIABLE version COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCH "Zip [0-9][^\n]*" version "${version}")
list(APPEND LINES "zip: Info-ZIP ${version}")
list(JOIN LINES "\n" text)
file(WRITE ${OUT} "${text}\n")
