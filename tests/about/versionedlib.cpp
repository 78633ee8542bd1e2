// A tiny shared library that only carries a product version record; the tests read
// that record back and install the file along the library search path.
extern "C" int tintaraVersionedLibraryMarker() {
    return 1;
}
