#include "module/servers.h"

namespace sinewrig {

ServerRecord serverTable[] = {
    {nullptr, nullptr, nullptr, nullptr},
};

}  // namespace sinewrig
