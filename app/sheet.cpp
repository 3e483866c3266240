// tarn-panel sheet: the command line of the contact sheet (the work is host/draw/sheet.*).
//
//   tarn-panel [--gauges DIR] sheet [--scale S] [--night|--both] -o FILE.png
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "host/draw/sheet.h"

int sheet_main(const std::string& gauges_dir, const std::vector<std::string>& args, size_t i) {
    tarn::SheetCommand c;
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--night") {
            c.options.light = tarn::SheetLight::kNight;
            continue;
        }
        if (a == "--both") {
            c.options.light = tarn::SheetLight::kBoth;
            continue;
        }
        if (a != "--scale" && a != "-o") {
            std::cerr << "sheet: " << (a.rfind("-", 0) == 0 ? "unknown option " : "unexpected word ") << a << "\n";
            return 2;
        }
        if (i + 1 >= args.size()) {
            std::cerr << "sheet: " << a << " needs a value\n";
            return 2;
        }
        const std::string& value = args[++i];
        if (a == "-o") {
            c.output = value;
            continue;
        }
        char* end = nullptr;
        const double v = std::strtod(value.c_str(), &end);
        if (value.empty() || *end != '\0' || !(v >= 0.25 && v <= 4)) {
            std::cerr << "sheet: --scale wants a number from 0.25 to 4, got '" << value << "'\n";
            return 2;
        }
        c.options.scale = v;
    }
    if (c.output.empty()) {
        std::cerr << "sheet: -o FILE.png is missing\n";
        return 2;
    }
    return tarn::sheet_command(gauges_dir, c, std::cout, std::cerr);
}
