# The lists that the build (web/CMakeLists.txt) and make_page.cmake share.
# The site's files: each copied or made, hashed (all but sw.js, which
# cannot hold its own sum), kept by the service worker for offline use, and
# put into the release zip. They come from web/, the icons from web/icons/
# and LICENSE from the project's top.
set(tenapi_site_files index.html manifest.webmanifest icon-192.png icon-512.png
  apple-touch-icon.png LICENSE sw.js)
# The page's script in its parts, joined in this order: the Worker's life,
# saving, showing, the learner's page, reading a zip, the class view.
set(tenapi_page_scripts runner.js save.js show.js page.js unzip.js class.js)
