// A shared library that is not a package: it exports a function, but none of the entry points.
extern "C" int PlumbNotAPackage() {
  return 42;
}
