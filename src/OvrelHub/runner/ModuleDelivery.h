#pragma once

namespace ovrel {

// How a command reaches a module.
enum class ModuleDelivery {
    launch,        // the module is not running: start it, it reads its inbox at start
    notifyRunning, // it runs: tell it to read its inbox
};

} // namespace ovrel
