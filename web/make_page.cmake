# Makes the page twice from page.html, with its style, its script, the
# libraries and the Worker's script (worker.js after the core) put in:
# OUT, one file that opens from disk and fetches nothing, and SITE/, the
# folder a web server serves (index.html with the manifest, the icons, the
# QR code's library and the service worker, which keeps the site for
# offline use).
# -DDIR=web folder -DCORE=core .js -DVERSION=x.y.z -DOUT=page -DSITE=folder
cmake_minimum_required(VERSION 3.25)
include(${DIR}/site.cmake)
file(READ ${DIR}/page.html template)
file(READ ${DIR}/page.css STYLE)
set(SCRIPT "")
foreach(part ${tenapi_page_scripts})
  file(READ ${DIR}/${part} text)
  string(APPEND SCRIPT "${text}")
endforeach()
file(READ ${CORE} core)
file(READ ${DIR}/worker.js worker)
set(WORKER "${core}\n${worker}")

# A library as published, pinned by its sum, with its licence notice.
function(library var name version file licence sum)
  file(SHA256 ${DIR}/third_party/${file} got)
  if(NOT got STREQUAL sum)
    message(FATAL_ERROR "third_party/${file} is not ${name} ${version} as published")
  endif()
  file(READ ${DIR}/third_party/${file} text)
  file(READ ${DIR}/third_party/${licence} notice)
  set(${var} "/*! ${name} ${version} (MIT licence):\n${notice}\n*/\n${text}" PARENT_SCOPE)
endfunction()
library(zip client-zip 2.5.1 client-zip.js client-zip-LICENSE.txt
  e8f80c27cef00bc171e8cf2a07fbbe13967fc93245d7ae8b81d5d0334fa5efd6)
library(unzip fflate 0.8.4 fflate.js fflate-LICENSE.txt
  f1207c7b7730d0138d47f46498c8fcfbf55dcfd0a9c76aeafa3c9c1d8b0abc60)
library(QR qrcode-generator 2.0.4 qrcode.js qrcode-LICENSE.txt
  79ec86f82856005b1c887905cfccfcfbec3821ca61c7fd5a952faa5f778f791c)
set(LIBRARIES "${zip}\n${unzip}")
foreach(part STYLE SCRIPT WORKER LIBRARIES QR)
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
# from a blob: URL, and data: and blob: URLs it makes; the site also its
# own service worker, manifest and icons, from its own origin alone.
set(csp "default-src 'none'; script-src 'unsafe-inline' 'wasm-unsafe-eval' blob:; style-src 'unsafe-inline'; connect-src data: blob:; base-uri 'none'; form-action 'none'")
set(CSP "${csp}; worker-src blob:")
set(LINKS "")
set(site_QR "${QR}")
set(QR "")
fill(file "${template}")
file(WRITE ${OUT} "${file}")

set(CSP "${csp}; worker-src 'self' blob:; manifest-src 'self'; img-src 'self'")
set(LINKS "<link rel=\"manifest\" id=\"manifest\" href=\"manifest.webmanifest\">
<link rel=\"icon\" href=\"icon-192.png\">
<link rel=\"apple-touch-icon\" href=\"apple-touch-icon.png\">
<meta name=\"theme-color\" content=\"#0b57d0\">
")
set(QR "${site_QR}")
fill(site "${template}")
file(REMOVE_RECURSE ${SITE})
file(WRITE ${SITE}/index.html "${site}")
# Every file but the service worker, with its sum, for the service worker:
# it keeps a file only if its bytes are these, and its copy is named by
# them, so that any change to the site, and only a change, makes a new one.
set(sums "")
set(listed "")
foreach(name ${tenapi_site_files})
  if(name STREQUAL "sw.js")
    continue()
  elseif(name STREQUAL "LICENSE")
    file(COPY_FILE ${DIR}/../LICENSE ${SITE}/${name})
  elseif(EXISTS ${DIR}/icons/${name})
    file(COPY_FILE ${DIR}/icons/${name} ${SITE}/${name})
  elseif(NOT name STREQUAL "index.html")
    file(COPY_FILE ${DIR}/${name} ${SITE}/${name})
  endif()
  file(SHA256 ${SITE}/${name} sum)
  string(APPEND sums "${sum} ${name}\n")
  string(APPEND listed "\n  '${name}': '${sum}',")
endforeach()
string(SHA256 hash "${sums}")
string(SUBSTRING ${hash} 0 16 HASH)
set(FILES "${listed}\n")
file(READ ${DIR}/sw.js sw)
fill(sw "${sw}")
file(WRITE ${SITE}/sw.js "${sw}")
