#pragma once

#include "Support/ProcessId.hpp"

#include <optional>
#include <xcb/res.h>

namespace velmora {

/// The process the X server knows for the client in `ids` (an answer to
/// xcb_res_query_client_ids asking for XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID): the server's
/// word, unlike the _NET_WM_PID a client sets on its windows. Absent for remote clients and
/// without an answer.
[[nodiscard]] std::optional<ProcessId> localClientPid(const xcb_res_query_client_ids_reply_t* ids);

} // namespace velmora
