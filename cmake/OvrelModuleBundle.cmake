# Lays out one module bundle from its parts; run by ovrel_add_module() as
#   cmake -DBUNDLE=... -DNAME=... -DID=... -DEXECUTABLE=... -DMANIFEST=... -DICON=...
#         -DRESOURCES=a|b [-DSTRIP=strip] -P OvrelModuleBundle.cmake
# The bundle is made anew each time, so nothing of an earlier build (a removed
# resource, an old signature) survives into it.
cmake_minimum_required(VERSION 3.25)

foreach(required BUNDLE NAME ID EXECUTABLE MANIFEST ICON)
    if(NOT DEFINED ${required} OR "${${required}}" STREQUAL "")
        message(FATAL_ERROR "OvrelModuleBundle: ${required} is not set")
    endif()
endforeach()

# The manifest decides the version; it must at least name this module.
file(READ "${MANIFEST}" manifest)
string(JSON manifest_id ERROR_VARIABLE error GET "${manifest}" id)
if(error OR NOT manifest_id STREQUAL ID)
    message(FATAL_ERROR "${MANIFEST}: \"id\" must be \"${ID}\"")
endif()
string(JSON version_type ERROR_VARIABLE error TYPE "${manifest}" version)
if(error OR NOT version_type STREQUAL "STRING")
    message(FATAL_ERROR "${MANIFEST}: \"version\" must be a string")
endif()
string(JSON version GET "${manifest}" version)

function(xml_text out value)
    string(REPLACE "&" "&amp;" value "${value}")
    string(REPLACE "<" "&lt;" value "${value}")
    string(REPLACE ">" "&gt;" value "${value}")
    set(${out} "${value}" PARENT_SCOPE)
endfunction()

get_filename_component(executable_name "${EXECUTABLE}" NAME)
get_filename_component(icon_name "${ICON}" NAME)
set(entries
    CFBundleExecutable "${executable_name}"
    CFBundleIconFile "${icon_name}"
    CFBundleIdentifier "vn.ovrel.module.${ID}"
    CFBundleInfoDictionaryVersion "6.0"
    CFBundleName "${NAME}"
    CFBundlePackageType "APPL"
    CFBundleShortVersionString "${version}"
    CFBundleVersion "${version}")
string(CONCAT plist "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
    "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
    "<plist version=\"1.0\">\n<dict>\n")
list(LENGTH entries count)
math(EXPR last "${count} - 1")
foreach(index RANGE 0 ${last} 2)
    math(EXPR value_index "${index} + 1")
    list(GET entries ${index} key)
    list(GET entries ${value_index} value)
    xml_text(value "${value}")
    string(APPEND plist "\t<key>${key}</key>\n\t<string>${value}</string>\n")
endforeach()
string(APPEND plist "</dict>\n</plist>\n")

file(REMOVE_RECURSE "${BUNDLE}")
file(MAKE_DIRECTORY "${BUNDLE}/Contents/MacOS" "${BUNDLE}/Contents/Resources")
file(WRITE "${BUNDLE}/Contents/Info.plist" "${plist}")
file(COPY "${EXECUTABLE}" DESTINATION "${BUNDLE}/Contents/MacOS"
     FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                      WORLD_READ WORLD_EXECUTE)
# The download carries the program without its debugging sections; the copy
# in the build tree keeps them.
if(STRIP)
    execute_process(COMMAND "${STRIP}" --strip-debug "${BUNDLE}/Contents/MacOS/${executable_name}"
                    RESULT_VARIABLE strip_result)
    if(NOT strip_result EQUAL 0)
        message(FATAL_ERROR "OvrelModuleBundle: ${STRIP} failed on ${executable_name}")
    endif()
endif()
configure_file("${MANIFEST}" "${BUNDLE}/Contents/Resources/manifest.json" COPYONLY)

string(REPLACE "|" ";" resources "${RESOURCES}")
set(seen "manifest.json")
foreach(file IN LISTS ICON resources)
    get_filename_component(name "${file}" NAME)
    if(name IN_LIST seen)
        message(FATAL_ERROR "OvrelModuleBundle: two resources are named ${name}")
    endif()
    list(APPEND seen "${name}")
    configure_file("${file}" "${BUNDLE}/Contents/Resources/${name}" COPYONLY)
endforeach()
