# A build handed to users must accept module signatures from the publisher's
# identity only. The development identity's key is in the repository, so a
# release configuration (OVREL_RELEASE, or the Release and MinSizeRel build
# types) that still trusts it, or that was given no accepted hashes at all,
# fails to configure. Development builds (scripts/test, scripts/run) keep the
# default.
if(OVREL_RELEASE OR CMAKE_BUILD_TYPE MATCHES "^(Release|MinSizeRel)$")
    if(OVREL_ACCEPTED_LEAF_HASHES STREQUAL "")
        message(FATAL_ERROR "A release build needs -DOVREL_ACCEPTED_LEAF_HASHES=<the publisher's leaf hashes>")
    endif()
    foreach(hash IN LISTS OVREL_ACCEPTED_LEAF_HASHES)
        if(NOT hash MATCHES "^[0-9a-f]{40}$")
            message(FATAL_ERROR "OVREL_ACCEPTED_LEAF_HASHES: \"${hash}\" is not 40 lowercase hex digits")
        endif()
        if(hash STREQUAL OVREL_DEVELOPMENT_LEAF_HASH)
            message(FATAL_ERROR "A release build must not accept the development identity (dev/identity); "
                                "set -DOVREL_ACCEPTED_LEAF_HASHES to the publisher's leaf hashes")
        endif()
    endforeach()
endif()
