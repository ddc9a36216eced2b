# Makes the page twice from page.html, with its style, its script, the zip
# library and the Worker's script (worker.js after the core) put in:
# OUT, one file that opens from disk and fetches nothing, and SITE/, the
# folder a web server serves (index.html with the manifest, the icons and
# the service worker, which keeps the site for offline use).
# -DDIR=web folder -DCORE=core .js -DVERSION=x.y.z -DOUT=page -DSITE=folder
cmake_minimum_required(VERSION 3.25)
file(READ ${DIR}/page.html page)
file(READ ${DIR}/page.css style)
# The page's script in its parts, in this order: the Worker's life,
# saving, showing, and the page that uses them.
set(script "")
foreach(part runner save show page)
  file(READ ${DIR}/${part}.js text)
  string(APPEND script "${text}")
endforeach()
file(READ ${CORE} core)
file(READ ${DIR}/worker.js worker)
set(worker "${core}\n${worker}")
# The zip library as published, pinned by its sum, with its licence notice.
file(SHA256 ${DIR}/third_party/client-zip.js sum)
if(NOT sum STREQUAL "e8f80c27cef00bc171e8cf2a07fbbe13967fc93245d7ae8b81d5d0334fa5efd6")
  message(FATAL_ERROR "third_party/client-zip.js is not client-zip 2.5.1's worker.js")
endif()
file(READ ${DIR}/third_party/client-zip.js zip)
file(READ ${DIR}/third_party/client-zip-LICENSE.txt licence)
set(zip "/*! client-zip 2.5.1 (MIT licence):\n${licence}\n*/\n${zip}")
foreach(part style script worker zip)
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

# Only the page's own inline script and style, its WebAssembly, its Worker
# from a blob: URL, and data: and blob: URLs it makes; the site also its
# own service worker, manifest and icons, from its own origin alone.
set(csp "default-src 'none'; script-src 'unsafe-inline' 'wasm-unsafe-eval' blob:; style-src 'unsafe-inline'; connect-src data: blob:; base-uri 'none'; form-action 'none'")
string(REPLACE "@CSP@" "${csp}; worker-src blob:" file "${page}")
string(REPLACE "@LINKS@" "" file "${file}")
file(WRITE ${OUT} "${file}")

set(icons icon-192.png icon-512.png apple-touch-icon.png)
string(REPLACE "@CSP@" "${csp}; worker-src 'self' blob:; manifest-src 'self'; img-src 'self'" site "${page}")
string(REPLACE "@LINKS@" "<link rel=\"manifest\" id=\"manifest\" href=\"manifest.webmanifest\">
<link rel=\"icon\" href=\"icon-192.png\">
<link rel=\"apple-touch-icon\" href=\"apple-touch-icon.png\">
<meta name=\"theme-color\" content=\"#0b57d0\">
" site "${site}")
file(REMOVE_RECURSE ${SITE})
file(WRITE ${SITE}/index.html "${site}")
file(COPY_FILE ${DIR}/manifest.webmanifest ${SITE}/manifest.webmanifest)
file(COPY_FILE ${DIR}/../LICENSE ${SITE}/LICENSE)
foreach(icon ${icons})
  file(COPY_FILE ${DIR}/icons/${icon} ${SITE}/${icon})
endforeach()
# The service worker's copy is named by the files' sums: any change to the
# site, and only a change, makes a new one.
set(files index.html manifest.webmanifest ${icons})
set(sums "")
foreach(name ${files})
  file(SHA256 ${SITE}/${name} sum)
  string(APPEND sums "${sum} ${name}\n")
endforeach()
string(SHA256 hash "${sums}")
string(SUBSTRING ${hash} 0 16 hash)
list(TRANSFORM files PREPEND "'")
list(TRANSFORM files APPEND "'")
list(JOIN files ", " listed)
file(READ ${DIR}/sw.js sw)
string(REPLACE "@HASH@" "${hash}" sw "${sw}")
string(REPLACE "@FILES@" "'./', ${listed}" sw "${sw}")
file(WRITE ${SITE}/sw.js "${sw}")
