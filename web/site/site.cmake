# The lists that the build (web/CMakeLists.txt) and make_page.cmake share.
# The site's files: each copied or made, hashed, kept by the service worker
# for offline use, and put into the release zip. They come from web/site/,
# the icons from web/site/icons/ and LICENSE from the project's top.
set(tenapi_site_files index.html manifest.webmanifest icon-192.png icon-512.png
  apple-touch-icon.png LICENSE sw.js)
# Each script of the page, by audience, in its order. The learner's page
# (run from the head): showing text, the Worker's life, names, saving,
# showing a file, the page itself.
set(tenapi_page_scripts page/text.js page/runner.js page/names.js page/number.js page/save.js page/show.js page/page.js)
# The class view, an inert block started at #class (after the zip library,
# and in the site the QR code's): zips read, owners, the roster, the class
# at a glance, what it saves, the sheet, the view itself.
set(tenapi_class_scripts class/zip.js class/owners.js class/roster.js class/glance.js class/pack.js class/sheet.js class/class.js)
# The class view's zip Worker, from an inert block of its own.
set(tenapi_unzip_scripts page/text.js class/zip.js class/owners.js class/unzip.js)
# The libraries: name, version, file, notice, sum.
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/../third_party/libraries.txt tenapi_libraries REGEX "^[^#]")
