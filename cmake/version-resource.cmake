# sapsysinfo_version_resource(TARGET DESCRIPTION): gives a Windows program or library a version
# resource, so that the file's properties and inventory tools show which release is installed:
# the product name, the file and product version from project() (the one version fact of the
# build) and a one-line description. Elsewhere it does nothing.
# scripts/check-tables reads the resource back from both Windows builds.
if(WIN32)
  enable_language(RC)
endif()

set(SAPSYSINFO_PRODUCT_NAME "SAP SysInfo")

function(sapsysinfo_version_resource target description)
  if(NOT WIN32)
    return()
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    set(file_type VFT_APP)
  else()
    set(file_type VFT_DLL)
  endif()
  # Four numbers in the fixed part, the version as project() has it in the texts.
  set(numbers ${PROJECT_VERSION_MAJOR})
  foreach(part MINOR PATCH TWEAK)
    if("${PROJECT_VERSION_${part}}" STREQUAL "")
      string(APPEND numbers ",0")
    else()
      string(APPEND numbers ",${PROJECT_VERSION_${part}}")
    endif()
  endforeach()
  # A resource script's text has "" for a quote.
  string(REPLACE "\"" "\"\"" description "${description}")
  file(GENERATE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${target}-version.rc CONTENT "\
#include <winver.h>

VS_VERSION_INFO VERSIONINFO
FILEVERSION ${numbers}
PRODUCTVERSION ${numbers}
FILEFLAGSMASK VS_FFI_FILEFLAGSMASK
FILEFLAGS 0
FILEOS VOS_NT_WINDOWS32
FILETYPE ${file_type}
FILESUBTYPE VFT2_UNKNOWN
BEGIN
  BLOCK \"StringFileInfo\"
  BEGIN
    BLOCK \"040904B0\"
    BEGIN
      VALUE \"FileDescription\", \"${description}\"
      VALUE \"FileVersion\", \"${PROJECT_VERSION}\"
      VALUE \"InternalName\", \"$<TARGET_FILE_BASE_NAME:${target}>\"
      VALUE \"OriginalFilename\", \"$<TARGET_FILE_NAME:${target}>\"
      VALUE \"ProductName\", \"${SAPSYSINFO_PRODUCT_NAME}\"
      VALUE \"ProductVersion\", \"${PROJECT_VERSION}\"
    END
  END
  BLOCK \"VarFileInfo\"
  BEGIN
    VALUE \"Translation\", 0x409, 1200
  END
END
")
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}-version.rc)
endfunction()
