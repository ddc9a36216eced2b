# Copies PAGE to NAME in the current folder, with its SHA-256 sum beside it
# in NAME.sha256 (cmake -P, run by the "web-release" target).
cmake_minimum_required(VERSION 3.25)
file(COPY_FILE ${PAGE} ${NAME})
file(SHA256 ${NAME} sum)
file(WRITE ${NAME}.sha256 "${sum}  ${NAME}\n")
message(STATUS "${NAME}: sha256 ${sum}")
