#pragma once

// Random Trash contents for the C structures and the C++ classes alike: both name their members
// the same. No NaN, so that equality means what it says.

#include <cstdint>
#include <random>
#include <string>

namespace transport_test {

inline double random_real(std::mt19937_64& random) {
  return std::uniform_real_distribution<double>(-1e6, 1e6)(random);
}

// Printable ASCII, 0 to 23 characters.
inline std::string random_text(std::mt19937_64& random) {
  std::string text(random() % 24, ' ');
  for (char& c : text) c = static_cast<char>(' ' + random() % 95);
  return text;
}

template <class Pose>
void fill_random_pose(Pose& pose, std::mt19937_64& random) {
  pose.position.x = random_real(random);
  pose.position.y = random_real(random);
  pose.position.z = random_real(random);
  pose.orientation.x = random_real(random);
  pose.orientation.y = random_real(random);
  pose.orientation.z = random_real(random);
  pose.orientation.w = random_real(random);
}

template <class Trash>
void fill_random_trash(Trash& trash, std::mt19937_64& random) {
  trash.type = static_cast<uint8_t>(random());
  trash.location = static_cast<uint8_t>(random());
  trash.mainaxis_type = static_cast<uint8_t>(random());
  fill_random_pose(trash.grab_pose, random);
  fill_random_pose(trash.obb_pose, random);
  trash.obb_size.x = random_real(random);
  trash.obb_size.y = random_real(random);
  trash.obb_size.z = random_real(random);
}

}  // namespace transport_test
