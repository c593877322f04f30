# Lays out a folder of run-time resources beside the executable: every file
# of SOURCE_DIR is copied to DEST_DIR, except SVG sources, which become PNG
# images of their own size (rsvg-convert). Images are never committed as
# binaries without their vector source.
find_program(RSVG_CONVERT rsvg-convert)

function(ostrel_add_resource_folder target)
  cmake_parse_arguments(ARG "" "SOURCE_DIR;DEST_DIR;INSTALL_DIR" "" ${ARGN})
  file(GLOB_RECURSE files CONFIGURE_DEPENDS RELATIVE ${ARG_SOURCE_DIR} ${ARG_SOURCE_DIR}/*)
  set(outputs)
  foreach(rel IN LISTS files)
    if(rel MATCHES "(^|/)\\.|CMakeLists\\.txt$")
      continue()
    endif()
    set(src ${ARG_SOURCE_DIR}/${rel})
    if(rel MATCHES "\\.svg$")
      if(NOT RSVG_CONVERT)
        message(FATAL_ERROR "rsvg-convert is needed to build the images (scripts/setup installs librsvg2-bin)")
      endif()
      string(REGEX REPLACE "\\.svg$" ".png" out_rel ${rel})
      set(out ${ARG_DEST_DIR}/${out_rel})
      get_filename_component(out_dir ${out} DIRECTORY)
      add_custom_command(OUTPUT ${out}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${out_dir}
        COMMAND ${RSVG_CONVERT} -f png -o ${out} ${src}
        DEPENDS ${src}
        COMMENT "Rendering ${rel}" VERBATIM)
    else()
      set(out ${ARG_DEST_DIR}/${rel})
      add_custom_command(OUTPUT ${out}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${src} ${out}
        DEPENDS ${src} VERBATIM)
    endif()
    list(APPEND outputs ${out})
  endforeach()
  add_custom_target(${target} ALL DEPENDS ${outputs})
  if(ARG_INSTALL_DIR)
    install(DIRECTORY ${ARG_DEST_DIR}/ DESTINATION ${ARG_INSTALL_DIR})
  endif()
endfunction()
