#include "SimModule.h"

std::vector<SimModule>& SimModules() {
    static std::vector<SimModule> modules;
    return modules;
}
