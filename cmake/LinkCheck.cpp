// The main of the link checks (focaris_library in CMakeLists.txt): never run; only the
// link of a library's objects with the libraries it may use matters.
int main() { return 0; }
