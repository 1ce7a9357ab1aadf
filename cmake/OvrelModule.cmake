# ovrel_add_module(NAME <Name> ID <id> SOURCES <file>... MANIFEST <file> ICON <png>
#                  [RESOURCES <file>...])
#
# Builds a module program on the module kit and, as part of the normal build,
# lays out <build>/modules/<Name>.app exactly as the hub installs it:
#
#   Contents/Info.plist                 CFBundleIdentifier vn.ovrel.module.<id>, CFBundleExecutable,
#                                       CFBundleShortVersionString (the manifest's version),
#                                       CFBundleName, CFBundleIconFile
#   Contents/MacOS/<Name>               the program
#   Contents/Resources/manifest.json    the manifest
#   Contents/Resources/<icon>.png       the icon, and any RESOURCES beside it
#
# then signs it with OVREL_MODULE_SIGNING_IDENTITY through ovrel-codesign and
# zips it into <build>/modules/<Name>.zip with the bundle at the top. The
# bundle is laid out afresh, signed and zipped again whenever any input
# changes (program, manifest, icon, resources, identity or the signing tool).

set(OVREL_MODULE_SIGNING_IDENTITY "${PROJECT_SOURCE_DIR}/dev/identity" CACHE PATH
    "Folder with key.pem and certificate.pem that sign the module bundles built here")

set(OVREL_MODULE_BUNDLE_SCRIPT "${CMAKE_CURRENT_LIST_DIR}/OvrelModuleBundle.cmake")

function(ovrel_add_module)
    cmake_parse_arguments(PARSE_ARGV 0 arg "" "NAME;ID;MANIFEST;ICON" "SOURCES;RESOURCES")
    if(arg_UNPARSED_ARGUMENTS)
        message(FATAL_ERROR "ovrel_add_module: unexpected arguments ${arg_UNPARSED_ARGUMENTS}")
    endif()
    foreach(required NAME ID SOURCES MANIFEST ICON)
        if(NOT arg_${required})
            message(FATAL_ERROR "ovrel_add_module: ${required} is required")
        endif()
    endforeach()
    # The id ends up in paths, bus names and the signing identifier.
    string(LENGTH "${arg_ID}" id_length)
    if(NOT arg_ID MATCHES "^[a-z0-9-]+$" OR id_length GREATER 32)
        message(FATAL_ERROR "ovrel_add_module: '${arg_ID}' is not a module id (1-32 of a-z, 0-9, -)")
    endif()
    if(NOT arg_NAME MATCHES "^[A-Za-z0-9][A-Za-z0-9 ._-]*$")
        message(FATAL_ERROR "ovrel_add_module: '${arg_NAME}' cannot name a bundle and its program")
    endif()
    if(NOT arg_ICON MATCHES "\\.png$")
        message(FATAL_ERROR "ovrel_add_module: the icon must be a PNG file")
    endif()

    set(resources "")
    foreach(file IN LISTS arg_RESOURCES)
        get_filename_component(file "${file}" ABSOLUTE)
        list(APPEND resources "${file}")
    endforeach()
    get_filename_component(manifest "${arg_MANIFEST}" ABSOLUTE)
    get_filename_component(icon "${arg_ICON}" ABSOLUTE)

    set(target ovrel-module-${arg_ID})
    add_executable(${target} ${arg_SOURCES})
    target_link_libraries(${target} PRIVATE OvrelModuleKit OvrelModuleKitUI)
    target_compile_definitions(${target} PRIVATE OVREL_MODULE_ID="${arg_ID}")
    set_target_properties(${target} PROPERTIES OUTPUT_NAME "${arg_NAME}"
                          RUNTIME_OUTPUT_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}")

    set(modules_dir "${PROJECT_BINARY_DIR}/modules")
    set(bundle "${modules_dir}/${arg_NAME}.app")
    set(zip "${modules_dir}/${arg_NAME}.zip")
    # A list cannot cross the command line intact: "|" separates the resources.
    list(JOIN resources "|" resource_argument)
    add_custom_command(
        OUTPUT "${zip}"
        COMMAND "${CMAKE_COMMAND}" "-DBUNDLE=${bundle}" "-DNAME=${arg_NAME}" "-DID=${arg_ID}"
                "-DEXECUTABLE=$<TARGET_FILE:${target}>" "-DMANIFEST=${manifest}" "-DICON=${icon}"
                "-DRESOURCES=${resource_argument}" "-DSTRIP=${CMAKE_STRIP}"
                -P "${OVREL_MODULE_BUNDLE_SCRIPT}"
        COMMAND "$<TARGET_FILE:ovrel-codesign>" sign --identity "${OVREL_MODULE_SIGNING_IDENTITY}"
                "${bundle}"
        COMMAND "${CMAKE_COMMAND}" -E rm -f "${zip}"
        COMMAND "${CMAKE_COMMAND}" -E tar cf "${zip}" --format=zip "${arg_NAME}.app"
        WORKING_DIRECTORY "${modules_dir}"
        DEPENDS ${target} ovrel-codesign "${manifest}" "${icon}" ${resources}
                "${OVREL_MODULE_BUNDLE_SCRIPT}"
                "${OVREL_MODULE_SIGNING_IDENTITY}/key.pem"
                "${OVREL_MODULE_SIGNING_IDENTITY}/certificate.pem"
        COMMENT "Laying out, signing and zipping ${arg_NAME}.app"
        VERBATIM)
    add_custom_target(${target}-bundle ALL DEPENDS "${zip}")
    set_property(GLOBAL APPEND PROPERTY OVREL_MODULE_BUNDLE_TARGETS ${target}-bundle)
endfunction()
