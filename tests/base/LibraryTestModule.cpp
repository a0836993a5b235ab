// The module that LibraryTest loads: one exported function with a known result.

#ifdef _WIN32
#define KO_TEST_EXPORT extern "C" __declspec(dllexport)
#else
#define KO_TEST_EXPORT extern "C" __attribute__((visibility("default")))
#endif

KO_TEST_EXPORT int KoLibraryTestAnswer()
{
    return 42;
}
