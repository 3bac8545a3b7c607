// A library without resources.
extern "C" __declspec(dllexport) int NoVersionModuleMarker() { return 1; }
