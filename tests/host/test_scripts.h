// What a script run through the scenario runner says when it is refused.
#ifndef TARN_TESTS_HOST_TEST_SCRIPTS_H
#define TARN_TESTS_HOST_TEST_SCRIPTS_H

#include <string>

#include "host/core/scenario.h"

namespace tarn::test {

// The runner's message for the script `text` (named "s.scn"), or "no error".
inline std::string script_error(ScenarioRunner& runner, const std::string& text) {
    try {
        runner.run_text("s.scn", text);
    } catch (const ScenarioError& e) {
        return std::string(e.what());
    }
    return std::string("no error");
}

}  // namespace tarn::test

#endif
