#include "Platform/Linux/XResourcePid.hpp"

namespace velmora {

std::optional<ProcessId> localClientPid(const xcb_res_query_client_ids_reply_t* ids) {
    std::optional<ProcessId> pid;
    for (auto it = ids ? xcb_res_query_client_ids_ids_iterator(ids)
                       : xcb_res_client_id_value_iterator_t{};
         it.rem > 0; xcb_res_client_id_value_next(&it)) {
        const auto& [clientId, length] = *it.data;
        if ((clientId.mask & XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID) && length >= 4) {
            pid = static_cast<ProcessId>(*xcb_res_client_id_value_value(it.data));
        }
    }
    return pid;
}

} // namespace velmora
