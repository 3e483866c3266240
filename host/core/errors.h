// Errors of the host. Every one names what it is about (module, gauge, element, file);
// the scenario runner adds the script's file and line.
#ifndef TARN_HOST_ERRORS_H
#define TARN_HOST_ERRORS_H

#include <stdexcept>
#include <string>

namespace tarn {

// Input the host cannot use: an unknown module or gauge, a module without the exports,
// a malformed table or mouse list, a missing bitmap. Exit status 2.
class HostError : public std::runtime_error {
public:
    explicit HostError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace tarn

#endif
