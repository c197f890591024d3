# Scintilla 5 and its Qt widget (ScintillaEditBase), built as a static library from the source
# that scripts/fetch-scintilla obtains: Debian 12's scite source package, whose scintilla/ folder
# is unpacked into the build folder and patched with cmake/scintilla-patches/*.patch.

set(QUILLET_SCITE_SOURCE "" CACHE FILEPATH "Scintilla's source: a scite_5.3.*.orig.tar.gz or a folder holding scintilla/ (empty: fetched)")
set(scite_source "${QUILLET_SCITE_SOURCE}")
if(NOT scite_source)
  # Asked again at every configure (instant once fetched), so a removed copy is fetched again.
  execute_process(COMMAND ${CMAKE_SOURCE_DIR}/scripts/fetch-scintilla
    OUTPUT_VARIABLE scite_source OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE fetch_failed)
  if(fetch_failed)
    message(FATAL_ERROR "Scintilla's source could not be obtained (see the message above).")
  endif()
endif()
if(NOT EXISTS "${scite_source}")
  message(FATAL_ERROR "QUILLET_SCITE_SOURCE=${scite_source} does not exist: point it at a "
                      "scite_5.3.*.orig.tar.gz or a folder holding scintilla/, or leave it empty to fetch one.")
endif()

find_program(PATCH_TOOL patch REQUIRED)
file(GLOB scintilla_patches CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/cmake/scintilla-patches/*.patch)
list(SORT scintilla_patches)
# A patch edited (not only added or removed) or another tarball reconfigures the build.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${scintilla_patches})
if(NOT IS_DIRECTORY "${scite_source}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${scite_source}")
endif()

# Unpacked and patched again whenever the source or a patch changes.
set(stamp_text "${scite_source}")
if(IS_DIRECTORY "${scite_source}")
  file(SHA256 "${scite_source}/scintilla/version.txt" digest)
else()
  file(SHA256 "${scite_source}" digest)
endif()
string(APPEND stamp_text " ${digest}")
foreach(patch_file IN LISTS scintilla_patches)
  file(SHA256 "${patch_file}" digest)
  string(APPEND stamp_text " ${digest}")
endforeach()
set(unpacked "${CMAKE_BINARY_DIR}/scite")
set(SCINTILLA_DIR "${unpacked}/scintilla")
set(stamp_file "${unpacked}/quillet-stamp.txt")
set(old_stamp "")
if(EXISTS "${stamp_file}")
  file(READ "${stamp_file}" old_stamp)
endif()
if(NOT old_stamp STREQUAL stamp_text)
  file(REMOVE_RECURSE "${unpacked}")
  if(IS_DIRECTORY "${scite_source}")
    file(COPY "${scite_source}/scintilla" DESTINATION "${unpacked}")
  else()
    file(ARCHIVE_EXTRACT INPUT "${scite_source}" DESTINATION "${unpacked}" PATTERNS "scintilla/*")
  endif()
  if(NOT EXISTS "${SCINTILLA_DIR}/version.txt")
    message(FATAL_ERROR "${scite_source} holds no scintilla/ folder.")
  endif()
  file(READ "${SCINTILLA_DIR}/version.txt" scintilla_version)
  if(NOT scintilla_version MATCHES "^53[0-9]")
    message(FATAL_ERROR "${scite_source} holds Scintilla ${scintilla_version}; Quillet needs 5.3.")
  endif()
  foreach(patch_file IN LISTS scintilla_patches)
    execute_process(COMMAND ${PATCH_TOOL} -p1 --batch --forward --silent -i "${patch_file}"
      WORKING_DIRECTORY "${SCINTILLA_DIR}" RESULT_VARIABLE patch_failed)
    if(patch_failed)
      message(FATAL_ERROR "Patch ${patch_file} does not apply to ${scite_source}.")
    endif()
  endforeach()
  file(WRITE "${stamp_file}" "${stamp_text}")
endif()

find_package(Qt6 REQUIRED COMPONENTS Core5Compat)
file(GLOB scintilla_core "${SCINTILLA_DIR}/src/*.cxx")
set(scintilla_qt "${SCINTILLA_DIR}/qt/ScintillaEditBase")
add_library(scintilla STATIC ${scintilla_core}
  ${scintilla_qt}/PlatQt.cpp ${scintilla_qt}/ScintillaQt.cpp ${scintilla_qt}/ScintillaEditBase.cpp
  ${scintilla_qt}/PlatQt.h ${scintilla_qt}/ScintillaQt.h ${scintilla_qt}/ScintillaEditBase.h)
# Its code is not ours to keep warning-free: our warning flags (and -Werror) do not apply to it.
target_compile_options(scintilla PRIVATE $<$<CXX_COMPILER_ID:GNU,Clang>:-w>)
target_compile_definitions(scintilla PUBLIC SCINTILLA_QT=1 PRIVATE MAKING_LIBRARY=1)
target_include_directories(scintilla SYSTEM PUBLIC "${SCINTILLA_DIR}/include" "${SCINTILLA_DIR}/src" "${scintilla_qt}")
target_link_libraries(scintilla PUBLIC Qt6::Widgets Qt6::Core5Compat)
set_target_properties(scintilla PROPERTIES AUTOMOC ON POSITION_INDEPENDENT_CODE ON)
