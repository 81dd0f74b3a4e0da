#pragma once

// The fewest bytes a value can take on the CDR wire, alignment padding left out. Readers hold
// a count from the wire against it before they allocate that many elements, so that a packet
// can only make them allocate in proportion to its own length.
//
// It is a lower bound, never an estimate: a packet the readers would accept must never fall
// short of it. So a string counts as its 4-byte length prefix alone, because a peer may send an
// empty string as a bare 0 prefix and the readers take that; a sequence counts as its count
// prefix with no elements; a fixed array counts all its elements; a nested structure counts the
// sum of its fields.

#include <cstddef>

#include "model/model.hpp"

namespace idlc {

// Every field of the structure, in full.
std::size_t minimum_encoded_size(const Structure& structure);
// A field of this type: fixed arrays in full, sequences as their count prefix.
std::size_t minimum_encoded_size(const Type& type);
// One element of the type, whatever its container: what each counted entry of a sequence
// (or each entry of an array) takes at least.
std::size_t minimum_element_encoded_size(const Type& type);

}  // namespace idlc
