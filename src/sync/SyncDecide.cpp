#include "SyncDecide.h"

namespace SyncDecide {

using namespace SyncedFields;

Outcome DecidePull(const Pull& in) {
    Outcome out;
    if (!in.here || !in.changedHere) {
        out.write = in.there; // an edit there beats a deletion here
        return out;
    }
    const Version& here = *in.here;
    const unsigned differing = Differing(here, in.there);
    if (differing == 0)
        return out;
    const unsigned changedHere = in.base ? Differing(*in.base, here) : kAll;
    const unsigned changedThere = in.base ? Differing(*in.base, in.there) : kAll;
    const unsigned both = changedHere & changedThere & differing;
    const bool thereLater = Seconds(in.thereModified) > Seconds(in.hereModified);
    Version merged = here;
    Take(merged, in.there, (changedThere & ~both) | (thereLater ? both : 0u));
    merged.info.editTime = std::max(here.info.editTime, in.there.info.editTime);
    if (both)
        out.lost = thereLater ? Outcome::Here : Outcome::There;
    if (Differing(merged, here) != 0)
        out.write = merged;
    out.settled = Differing(merged, in.there) == 0;
    return out;
}

} // namespace SyncDecide
