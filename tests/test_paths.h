#pragma once
// Where the tests find their data, the repository and the build's programs.
// The paths are written at configure time into one generated file of the
// build tree (test_paths.cpp), so the test sources themselves compile the same
// in every checkout and a compiler cache shared between checkouts serves them.
namespace testpaths {
const char* testData();   // tests/data
const char* programData(); // data/ of the repository
const char* source();     // the repository
const char* bin();        // bin/ of the build tree: velmora-cli and the copied data
const char* benchData();  // the public benchmark instances (may be missing)
const char* tools();      // the shared test tools (may be missing)
} // namespace testpaths

#define TEST_DATA_DIR (::testpaths::testData())
#define VELMORA_DATA_DIR (::testpaths::programData())
#define VELMORA_SOURCE_DIR (::testpaths::source())
#define VELMORA_BIN_DIR (::testpaths::bin())
#define BENCH_DATA_DIR (::testpaths::benchData())
#define TOOLS_DIR (::testpaths::tools())
