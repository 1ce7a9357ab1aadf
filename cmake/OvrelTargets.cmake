# Each library is every source file below its folder, so adding a component
# means adding its .h/.cpp pair and nothing else.
function(ovrel_add_library name dir)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS
         ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.h)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
endfunction()

# One test program per folder under tests/, discovered into ctest case by case.
function(ovrel_add_test_program name dir)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS
         ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.h)
    add_executable(${name} ${sources})
    # Fixtures shared by a program's subfolders sit at the top of its folder.
    target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/${dir})
    target_link_libraries(${name} PRIVATE OvrelTestSupport ${ARGN})
    # A program whose tests share something exclusive names it in <name>_RESOURCE_LOCK.
    set(lock_property)
    if(${name}_RESOURCE_LOCK)
        set(lock_property RESOURCE_LOCK ${${name}_RESOURCE_LOCK})
    endif()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                         PROPERTIES TIMEOUT 120 ${lock_property})
endfunction()
