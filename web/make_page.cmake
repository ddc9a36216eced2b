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
foreach(part style script worker)
  # Each text sits inside an element of the page: none may end that element
  # or start a comment, which the HTML parser treats specially in a script.
  foreach(bad "</script" "</style" "<!--")
    string(FIND "${${part}}" "${bad}" at)
    if(NOT at EQUAL -1)
      message(FATAL_ERROR "the page's ${part} holds ${bad}")
    endif()
  endforeach()
  string(TOUPPER "@${part}@" marker)
  string(REPLACE "${marker}" "${${part}}" page "${page}")
endforeach()
string(REPLACE "@VERSION@" "${VERSION}" page "${page}")
file(WRITE ${OUT} "${page}")
