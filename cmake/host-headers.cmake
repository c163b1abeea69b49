# A cross build looks only among the target's headers and libraries. The libraries that consist
# of headers alone (Asio, nlohmann/json, CLI11) come from the build host's packages: each one's
# folder is linked into the build tree by itself, so that no other header of the build host
# comes into view, and small package files let the usual find_package calls find them.
set(HOST_HEADERS ${PROJECT_BINARY_DIR}/host-headers)
foreach(entry asio asio.hpp nlohmann CLI)
  if(NOT EXISTS /usr/include/${entry})
    message(FATAL_ERROR "/usr/include/${entry} is missing: install libasio-dev, "
                        "nlohmann-json3-dev and libcli11-dev")
  endif()
  file(MAKE_DIRECTORY ${HOST_HEADERS}/include)
  file(CREATE_LINK /usr/include/${entry} ${HOST_HEADERS}/include/${entry} SYMBOLIC)
endforeach()
# Asio comes without a package file; its users include it as they do natively.
include_directories(SYSTEM ${HOST_HEADERS}/include)

foreach(name nlohmann_json CLI11)
  file(WRITE ${HOST_HEADERS}/${name}/${name}Config.cmake
       "if(NOT TARGET ${name}::${name})\n"
       "  add_library(${name}::${name} INTERFACE IMPORTED)\n"
       "  set_target_properties(${name}::${name} PROPERTIES\n"
       "                        INTERFACE_INCLUDE_DIRECTORIES ${HOST_HEADERS}/include)\n"
       "endif()\n")
  # The host package's own version check: it does not depend on the architecture.
  file(WRITE ${HOST_HEADERS}/${name}/${name}ConfigVersion.cmake
       "include(/usr/share/cmake/${name}/${name}ConfigVersion.cmake)\n")
  set(${name}_DIR ${HOST_HEADERS}/${name} CACHE PATH "" FORCE)
endforeach()
