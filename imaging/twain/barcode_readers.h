#pragma once
// The two barcode readers each control owns for its whole life. They hold no
// state yet: recognition gives them their members.
namespace scanvelt {

class Barcode1DReader {};
class BarcodeDMReader {};

}  // namespace scanvelt
