// The creators of the three type chunks ("NTYP", "CTYP", "BTYP"). They build a type from
// its chunk's script tree like any script creator, but hand out no object for a type
// that loading refused, so a level that names it drops the entry.
#pragma once

#include "data/pak_script.h"
#include "physics/types.h"

template <class T>
class v_type_creator : public script_creator<T> {
public:
    pak_chunk* create(ref_ptr<pak_chunkref> ref) override
    {
        pak_chunk* made = script_creator<T>::create(std::move(ref));
        if (made && !static_cast<T*>(made)->loaded) {
            ref_ptr<pak_chunk> drop(made);  // the last reference goes with it
            return nullptr;
        }
        return made;
    }
};

// Registers the three creators (which live as long as the program) with a pak system.
void v_register_type_creators(pak_system& pak);
// After the archive is open: makes "constraints\default" the type of constraints that
// name none. False when the archive has no usable default (the built-in one stays).
bool v_install_default_constraint_type(pak_system& pak);
