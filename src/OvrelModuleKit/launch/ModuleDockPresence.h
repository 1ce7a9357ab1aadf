#pragma once

#include <functional>

namespace ovrel {

// Whether the module shows itself as an application the user can switch to.
// Modules run in the background and are shown only while one of their windows
// is open: each open window holds the presence, and when the last holder lets
// go the module goes back to the background after a short delay (so closing
// one window and opening the next does not flicker).
//
// On a Linux desktop the taskbar lists windows, not applications, so a module
// without an open window has no entry anyway; there the presence is the state
// the window code keeps, and the policy handler has nothing more to switch.
// Main thread only.
class ModuleDockPresence {
public:
    enum class Policy {
        accessory, // background: no taskbar or dock entry of its own
        regular,   // shown as an application
    };
    using PolicyHandler = std::function<void(Policy)>;

    // Cancels a pending switch to the background; the first holder shows the module.
    static void acquire();
    // Never below 0. The last holder schedules the switch to the background
    // releaseDelay() seconds from now; it happens only if nobody acquired since.
    static void release();
    // Cancels a pending switch and forgets every holder.
    static void reset();

    static double releaseDelay();
    static void setReleaseDelay(double seconds); // default 0.5

    static int count();
    static Policy policy(); // accessory until the first acquire
    static bool hasPendingHide();

    // Called with each change of the policy (the platform's switch).
    static void setPolicyHandler(PolicyHandler handler);

private:
    static void switchTo(Policy policy);
};

} // namespace ovrel
