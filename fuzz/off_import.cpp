// OFF import: any bytes as "scan.off" (fuzz/MeshImportHarness.h).

#include "fuzz/MeshImportHarness.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::ScratchDir::enter(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::importMeshFile(data, size, ".off");
    return 0;
}
