// The interface sounds that screen logic asks for; the screens play them.
#pragma once

enum class ui_sound {
    none,
    rollover,  // "sounds\Rollover1": the pointer came onto something
    select,    // "sounds\Select_Constraint": something was clicked
};
