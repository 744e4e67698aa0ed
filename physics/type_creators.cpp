// Registration of the type creators.
#include "physics/type_creators.h"

#include "physics/constraint.h"

void v_register_type_creators(pak_system& pak)
{
    static v_type_creator<v_body_type> body_creator;
    static v_type_creator<v_node_type> node_creator;
    static v_type_creator<v_constraint_type> constraint_creator;
    pak.register_creator(pak_code_btyp, &body_creator);
    pak.register_creator(pak_code_ntyp, &node_creator);
    pak.register_creator(pak_code_ctyp, &constraint_creator);
}

bool v_install_default_constraint_type(pak_system& pak)
{
    ref_ptr<v_constraint_type> type;
    if (!pak.get_object("constraints\\default", type) || !type)
        return false;
    v_set_default_constraint_type(type);
    return true;
}
