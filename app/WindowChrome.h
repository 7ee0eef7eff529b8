#pragma once

namespace tavrel {

// Where an icon of `iconExtent` pixels starts so that it sits centred in `clientExtent`
// pixels: (client - icon + 1) / 2, truncated toward zero.
constexpr int CenteredIconOffset(int clientExtent, int iconExtent) {
    return (clientExtent - iconExtent + 1) / 2;
}

}  // namespace tavrel
