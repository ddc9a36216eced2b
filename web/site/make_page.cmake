# Makes the page twice from page/page.html, with its style, its scripts,
# the libraries and the Worker's script (core/worker.js after the core) put
# in: OUT, one file that opens from disk and fetches nothing, and SITE/, the
# folder a web server serves (index.html with the manifest, the icons, the
# QR code's library and the service worker, which keeps the site for
# offline use). The learner's script runs from the head; the class view and
# its zip Worker are inert blocks, started only at #class.
# -DDIR=web folder -DCORE=core .js -DVERSION=x.y.z -DOUT=page -DSITE=folder
cmake_minimum_required(VERSION 3.25)
include(${DIR}/site/site.cmake)
file(READ ${DIR}/page/page.html template)
file(READ ${DIR}/page/page.css STYLE)
function(join var)
  set(text "")
  foreach(part ${ARGN})
    file(READ ${DIR}/${part} part_text)
    string(APPEND text "${part_text}")
  endforeach()
  set(${var} "${text}" PARENT_SCOPE)
endfunction()
join(SCRIPT ${tenapi_page_scripts})
join(class_script ${tenapi_class_scripts})
join(UNZIP ${tenapi_unzip_scripts})
file(READ ${CORE} core)
file(READ ${DIR}/core/worker.js worker)
set(WORKER "${core}\n${worker}")

# Each library as published, pinned by its sum, with its licence notice.
foreach(line ${tenapi_libraries})
  separate_arguments(fields UNIX_COMMAND "${line}")
  list(GET fields 0 name)
  list(GET fields 1 version)
  list(GET fields 2 file)
  list(GET fields 3 licence)
  list(GET fields 4 sum)
  file(SHA256 ${DIR}/third_party/${file} got)
  if(NOT got STREQUAL sum)
    message(FATAL_ERROR "third_party/${file} is not ${name} ${version} as published")
  endif()
  file(READ ${DIR}/third_party/${file} text)
  file(READ ${DIR}/third_party/${licence} notice)
  set(lib_${name} "/*! ${name} ${version} (MIT licence):\n${notice}\n*/\n${text}\n")
endforeach()
set(CLASS "${lib_client-zip}${class_script}")
set(site_CLASS "${lib_client-zip}${lib_qrcode-generator}${class_script}")
foreach(part STYLE SCRIPT WORKER site_CLASS UNZIP)
  # Each text sits inside an element of the page: none may end that element
  # or start a comment, which the HTML parser treats specially in a script.
  foreach(bad "</script" "</style" "<!--")
    string(FIND "${${part}}" "${bad}" at)
    if(NOT at EQUAL -1)
      message(FATAL_ERROR "the page's ${part} holds ${bad}")
    endif()
  endforeach()
endforeach()

# Fills the @NAME@ marks of `template` with the variables of those names,
# in one pass: what is put in is never searched for marks again.
function(fill out template)
  set(page "")
  set(rest "${template}")
  while(rest MATCHES "@([A-Z]+)@")
    set(name ${CMAKE_MATCH_1})
    string(FIND "${rest}" "@${name}@" at)
    string(SUBSTRING "${rest}" 0 ${at} before)
    string(APPEND page "${before}${${name}}")
    string(LENGTH "@${name}@" length)
    math(EXPR at "${at} + ${length}")
    string(SUBSTRING "${rest}" ${at} -1 rest)
  endwhile()
  set(${out} "${page}${rest}" PARENT_SCOPE)
endfunction()

# Only the page's own inline script and style, its WebAssembly, its Worker
# and class view from blob: URLs, and data: and blob: URLs it makes; the
# site also its own service worker, manifest and icons, from its own origin
# alone.
set(csp "default-src 'none'; script-src 'unsafe-inline' 'wasm-unsafe-eval' blob:; style-src 'unsafe-inline'; connect-src data: blob:; base-uri 'none'; form-action 'none'")
set(CSP "${csp}; worker-src blob:")
set(LINKS "")
fill(file "${template}")
file(WRITE ${OUT} "${file}")

set(CSP "${csp}; worker-src 'self' blob:; manifest-src 'self'; img-src 'self'")
set(LINKS "<link rel=\"manifest\" href=\"manifest.webmanifest\">
<link rel=\"icon\" href=\"icon-192.png\">
<link rel=\"apple-touch-icon\" href=\"apple-touch-icon.png\">
<meta name=\"theme-color\" content=\"#0b57d0\">
")
set(CLASS "${site_CLASS}")
fill(site "${template}")
file(REMOVE_RECURSE ${SITE})
file(WRITE ${SITE}/index.html "${site}")
# Every file with its sum, for the service worker: it keeps a file only if
# its bytes are these. Its copy is named by them and by its own text (it
# cannot hold its own sum), so that any change to the site, sw.js too, and
# only a change, makes a new one.
set(sums "")
set(listed "")
foreach(name ${tenapi_site_files})
  if(name STREQUAL "sw.js")
    file(SHA256 ${DIR}/site/sw.js sum)
    string(APPEND sums "${sum} ${name}\n")
    continue()
  elseif(name STREQUAL "LICENSE")
    file(COPY_FILE ${DIR}/../LICENSE ${SITE}/${name})
  elseif(EXISTS ${DIR}/site/icons/${name})
    file(COPY_FILE ${DIR}/site/icons/${name} ${SITE}/${name})
  elseif(NOT name STREQUAL "index.html")
    file(COPY_FILE ${DIR}/site/${name} ${SITE}/${name})
  endif()
  file(SHA256 ${SITE}/${name} sum)
  string(APPEND sums "${sum} ${name}\n")
  string(APPEND listed "\n  '${name}': '${sum}',")
endforeach()
string(SHA256 hash "${sums}")
string(SUBSTRING ${hash} 0 16 HASH)
set(FILES "${listed}\n")
file(READ ${DIR}/site/sw.js sw)
fill(sw "${sw}")
file(WRITE ${SITE}/sw.js "${sw}")
