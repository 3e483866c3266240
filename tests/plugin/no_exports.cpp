// A loadable library that is not a gauge module: it exports neither table.
extern "C" {
__attribute__((visibility("default"))) int not_a_gauge_module = 1;
}
