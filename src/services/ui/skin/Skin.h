#pragma once

namespace kivui {

// The base of every skin entry. A skin set holds entries of many interfaces; callers look
// one up by the interface they need (SkinSet::Find<Interface>()).
class Skin {
 public:
  virtual ~Skin() = default;
};

}  // namespace kivui
