#include "Platform/archive/LibArchive.h"
#include "Platform/library/SharedLibrary.h"

#include <gtest/gtest.h>

using namespace ovrel;

// A library opened on first use gives its functions, and says clearly which
// library or function is missing instead of crashing later.
TEST(SharedLibraryTest, ResolvesFunctionsAndNamesWhatIsMissing) {
    const SharedLibrary library("libarchive.so.13");
    const auto version =
        library.function<decltype(&archive_version_number)>("archive_version_number");
    // The library loaded is the major version the headers describe.
    EXPECT_EQ(version() / 1000000, ARCHIVE_VERSION_NUMBER / 1000000);

    try {
        library.function<void (*)()>("no_such_function_here");
        FAIL() << "a missing function resolved";
    } catch (const SharedLibraryError& error) {
        EXPECT_TRUE(error.message().contains("libarchive.so.13 has no no_such_function_here"))
            << error.what();
    }
    try {
        const SharedLibrary missing("libovrel-does-not-exist.so.1");
        FAIL() << "a missing library opened";
    } catch (const SharedLibraryError& error) {
        EXPECT_TRUE(error.message().startsWith("cannot load libovrel-does-not-exist.so.1: "))
            << error.what();
    }
}

// Every function of the zip reader's table is there, and calls through it
// reach the real library.
TEST(SharedLibraryTest, TheArchiveTableIsComplete) {
    const LibArchive& api = LibArchive::get();
    archive* reader = api.archive_read_new();
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(api.archive_read_support_format_zip(reader), ARCHIVE_OK);
    EXPECT_NE(api.archive_read_open_filename(reader, "/nonexistent/archive.zip", 4096), ARCHIVE_OK);
    EXPECT_NE(api.archive_error_string(reader), nullptr);
    EXPECT_EQ(api.archive_read_free(reader), ARCHIVE_OK);
    EXPECT_EQ(&LibArchive::get(), &api);
}
