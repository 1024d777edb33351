#pragma once

#include "core/SyncedFields.h"

#include <optional>

// What a sync does with a task whose object changed on the server,
// decided from the three versions it has: the server's copy of the last
// exchange (the common base), the server's object now, and the task here.
// Plain data in, plain data out: no database, no network.
namespace SyncDecide {

struct Pull {
    // The last exchange's version; none: never exchanged, or unreadable.
    std::optional<SyncedFields::Version> base;
    SyncedFields::Version there;
    TDateTime thereModified = 0; // the object's LAST-MODIFIED, 0: it does not say
    // The task here; none: not in the tasks table (deleted here, or new).
    std::optional<SyncedFields::Version> here;
    bool changedHere = false;   // since the last exchange
    TDateTime hereModified = 0; // its last change here
};

struct Outcome {
    // The task as it is to be here; none: as it is.
    std::optional<SyncedFields::Version> write;
    // The result is the server's version: nothing left to send.
    bool settled = true;
    // A field changed on both sides to different values: the side whose
    // version lost keeps it in a file.
    enum Loser { Nobody, Here, There } lost = Nobody;
};

// Changed there only, or deleted here: the server's version. Changed on
// both sides: each side's changed fields kept; a field both changed to
// different values goes to the later edit. Without a base every differing
// field counts as changed on both sides.
Outcome DecidePull(const Pull& in);

} // namespace SyncDecide
