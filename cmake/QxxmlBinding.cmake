# qxxml_add_binding(<target> SCHEMAS <a.xsd> [<b.xsd>...] NAMESPACE <C++ namespace>
#                   [NAMES <names file>] [OUTPUT_DIRECTORY <dir>])
#
# A static library <target> of the C++ classes `qxxml generate` makes from the schemas. The
# classes are generated at build time, again whenever a schema given changes; a program links
# the target and includes "<Namespace>Binding.h":
#
#   find_package(qxxml REQUIRED)
#   qxxml_add_binding(po_binding SCHEMAS po.xsd NAMESPACE po)
#   add_executable(orders main.cpp)
#   target_link_libraries(orders PRIVATE po_binding)     # #include "PoBinding.h"
#
# NAMES gives classes and members C++ names of your choice, one per line
# ("class PurchaseOrderType CPurchaseOrder", "member PurchaseOrderType/item Items"; see the
# README). A namespace "<Name>Binding" names the files <Name>Binding.h and so on.
#
# Schemas that the given ones include or import are read too; list them in SCHEMAS as well
# (or in DEPENDS) so that a change of theirs regenerates the binding.
#
# The generator runs on the build machine. A cross build (for Windows, say) names a qxxml
# built for the build machine in QXXML_GENERATOR:
#
#   cmake ... -DCMAKE_TOOLCHAIN_FILE=<toolchain> -DQXXML_GENERATOR=<native build>/tools/qxxml
#
# Without it, the cross-built qxxml runs through the toolchain's emulator
# (CMAKE_CROSSCOMPILING_EMULATOR), one start per binding.
set(QXXML_GENERATOR "" CACHE FILEPATH "A qxxml of the build machine that generates bindings (cross builds)")
function(qxxml_add_binding target)
  cmake_parse_arguments(ARG "" "NAMESPACE;NAMES;OUTPUT_DIRECTORY" "SCHEMAS;DEPENDS" ${ARGN})
  if(NOT ARG_SCHEMAS OR NOT ARG_NAMESPACE)
    message(FATAL_ERROR "qxxml_add_binding(${target}): SCHEMAS and NAMESPACE are required")
  endif()
  set(out "${ARG_OUTPUT_DIRECTORY}")
  if(NOT out)
    set(out "${CMAKE_CURRENT_BINARY_DIR}/${target}")
  endif()

  # The file names follow from the arguments (the generator names them by the same rules):
  # <Last>Binding.h/BindingTypes.h/Binding.cpp after the namespace's last part (less a
  # trailing "Binding"), and
  # <stem>.h/.cpp for each schema, with characters other than letters, digits and '_' as '_'.
  string(REGEX REPLACE ".*::" "" last "${ARG_NAMESPACE}")
  string(REGEX REPLACE "[^A-Za-z0-9_]" "_" last "${last}")
  string(SUBSTRING "${last}" 0 1 first)
  string(TOUPPER "${first}" first)
  string(SUBSTRING "${last}" 1 -1 rest)
  set(prefix "${first}${rest}")
  string(REGEX REPLACE "(.)Binding$" "\\1" prefix "${prefix}")
  set(outputs "${out}/${prefix}Binding.h" "${out}/${prefix}BindingTypes.h" "${out}/${prefix}Binding.cpp")
  set(schemas "")
  foreach(schema IN LISTS ARG_SCHEMAS)
    get_filename_component(schema "${schema}" ABSOLUTE)
    list(APPEND schemas "${schema}")
    get_filename_component(stem "${schema}" NAME_WLE)
    string(REGEX REPLACE "[^A-Za-z0-9_]" "_" stem "${stem}")
    list(APPEND outputs "${out}/${stem}.h" "${out}/${stem}.cpp")
  endforeach()

  set(names "")
  set(names_file "")
  if(ARG_NAMES)
    get_filename_component(names_file "${ARG_NAMES}" ABSOLUTE)
    set(names --names "${names_file}")
  endif()

  if(QXXML_GENERATOR)
    set(generator "${QXXML_GENERATOR}")  # a cross build's native generator
  elseif(TARGET qxxml_generate)
    set(generator qxxml_generate)     # building qxxml itself (the tool links bindings)
  else()
    set(generator qxxml::generator)   # the installed package
  endif()
  add_custom_command(OUTPUT ${outputs}
    COMMAND ${generator} generate ${schemas} --namespace ${ARG_NAMESPACE} ${names} --out "${out}"
    DEPENDS ${schemas} ${names_file} ${ARG_DEPENDS} ${generator}
    COMMENT "Generating the ${ARG_NAMESPACE} binding from ${ARG_SCHEMAS}"
    VERBATIM)
  add_library(${target} STATIC ${outputs})
  target_include_directories(${target} PUBLIC "${out}")
  if(TARGET qxxml)
    target_link_libraries(${target} PUBLIC qxxml)
  else()
    target_link_libraries(${target} PUBLIC qxxml::qxxml)
  endif()
  set_target_properties(${target} PROPERTIES CXX_STANDARD 17 CXX_STANDARD_REQUIRED ON)
endfunction()
