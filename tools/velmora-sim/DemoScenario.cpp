#include "DemoScenario.hpp"

namespace velmora::scenario {

std::string_view demoScenario() {
    return R"(# Notes is protected and relocks after 10 s unused; Editor is not protected.
protect com.example.notes "Notes" timeout=0
app com.example.editor 501 "Editor"
app com.example.notes 502 "Notes"
window 501 0 25 700 500
window 502 200 100 800 600
launch
activate 501

# Notes comes to the front: its window is covered until the owner unlocks it.
activate 502
expect state locked com.example.notes
expect overlay com.example.notes visible frame 200 200 800 600
press unlock com.example.notes
expect prompt "Unlock Notes"
auth success
expect state unlocked com.example.notes
expect overlay com.example.notes hidden

# Back in Editor, Notes goes unused and relocks: it is hidden and asks again next time.
activate 501
wait 11
expect unlocked com.example.notes no
expect hidden com.example.notes yes
activate 502
expect overlay com.example.notes visible
press unlock com.example.notes
auth success
expect frontmost com.example.notes

# Some time later the computer sleeps: the unlock is forgotten.
wait 5
sleep
expect state locked com.example.notes
activate 501
activate 502
expect overlay com.example.notes visible
expect prompts 2
)";
}

} // namespace velmora::scenario
