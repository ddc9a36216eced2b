# Makes the page: page.html with its style, its script, and the Worker's
# script (worker.js after the core) put in, so that one file holds all.
# -DDIR=web folder -DCORE=core .js -DVERSION=x.y.z -DOUT=page to write
cmake_minimum_required(VERSION 3.25)
file(READ ${DIR}/page.html page)
file(READ ${DIR}/page.css style)
file(READ ${DIR}/page.js script)
file(READ ${CORE} core)
file(READ ${DIR}/worker.js worker)
set(worker "${core}\n${worker}")
# The Worker's script sits in the page as text: it must not end that element.
string(FIND "${worker}" "</script" end)
if(NOT end EQUAL -1)
  message(FATAL_ERROR "the Worker's script holds </script")
endif()
foreach(part style script worker)
  string(TOUPPER "@${part}@" marker)
  string(REPLACE "${marker}" "${${part}}" page "${page}")
endforeach()
string(REPLACE "@VERSION@" "${VERSION}" page "${page}")
file(WRITE ${OUT} "${page}")
