# The host's core (host/core/): its sources, shared by the Linux build (host/CMakeLists.txt)
# and the Windows build (cmake/windows/CMakeLists.txt), and the default flight built in.
get_filename_component(TARN_SOURCE_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
set(TARN_HOST_CORE_SOURCES)
foreach(name aircraft files host instance key_events mouse nonlinearity panel_config plugin profile scenario simulation
    variables x87)
  list(APPEND TARN_HOST_CORE_SOURCES ${TARN_SOURCE_ROOT}/host/core/${name}.cpp)
endforeach()
# Loading a module file: the one part that differs between the two systems.
if(WIN32)
  list(APPEND TARN_HOST_CORE_SOURCES ${TARN_SOURCE_ROOT}/host/core/module_file_windows.cpp)
else()
  list(APPEND TARN_HOST_CORE_SOURCES ${TARN_SOURCE_ROOT}/host/core/module_file_posix.cpp)
endif()

# tarn_embed_default_flight(OUTPUT): profiles/default_flight.txt as a string literal (the
# one source of the built-in default flight).
function(tarn_embed_default_flight output)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${TARN_SOURCE_ROOT}/profiles/default_flight.txt -DOUTPUT=${output}
      -P ${TARN_SOURCE_ROOT}/cmake/embed_text.cmake
    DEPENDS ${TARN_SOURCE_ROOT}/profiles/default_flight.txt ${TARN_SOURCE_ROOT}/cmake/embed_text.cmake
    COMMENT "Built-in default flight")
endfunction()
