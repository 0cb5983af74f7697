#include "moduleentry.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>

TEST (ModuleEntry, KeepsHandleAndDirectoryUntilTheLastExit)
{
	// The test program holds this code, so its directory is the module directory.
	char* exe = realpath ("/proc/self/exe", nullptr);
	ASSERT_NE (exe, nullptr);
	std::string expected (exe);
	std::free (exe);
	expected.erase (expected.rfind ('/') + 1);

	int handle = 0;
	EXPECT_FALSE (ModuleExit ()) << "no entry yet";
	EXPECT_TRUE (ModuleEntry (&handle));
	EXPECT_EQ (Steinberg::getModuleHandle (), &handle);
	EXPECT_EQ (Steinberg::getModuleDirectory (), expected);
	EXPECT_EQ (Steinberg::getModuleDirectory ().back (), '/');

	int other = 0;
	EXPECT_TRUE (ModuleEntry (&other));
	EXPECT_EQ (Steinberg::getModuleHandle (), &handle) << "the first entry's handle stays";
	EXPECT_TRUE (ModuleExit ());
	EXPECT_EQ (Steinberg::getModuleHandle (), &handle);
	EXPECT_TRUE (ModuleExit ());
	EXPECT_EQ (Steinberg::getModuleHandle (), nullptr);
	EXPECT_FALSE (ModuleExit ());
	EXPECT_EQ (Steinberg::getModuleDirectory (), expected) << "found on demand without an entry";
}
