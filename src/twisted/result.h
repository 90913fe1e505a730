#pragma once
// What travels along a callback chain: a value, a failure or another deferred. Results are
// immutable once made and shared by reference count, so one result may be handed to
// several callbacks and threads without locking.

#include <boost/any.hpp>
#include <boost/shared_ptr.hpp>

#include <cstddef>
#include <typeinfo>
#include <utility>
#include <vector>

namespace twisted {

enum ResultType { ResultType_Value = 0, ResultType_Failure = 1, ResultType_Defer = 2 };

class result {
 public:
  virtual ResultType get_type() const = 0;
  virtual ~result() = default;

  bool is_result() const { return get_type() == ResultType_Value; }
  bool is_failure() const { return get_type() == ResultType_Failure; }
  bool is_defer() const { return get_type() == ResultType_Defer; }
};

class value : public result {
 public:
  ResultType get_type() const override { return ResultType_Value; }
  ~value() override = default;
  // The type of what the value holds.
  virtual const std::type_info& result_type() const = 0;
};

// The general payload: any copyable value. Empty means "no value".
class any_value : public value {
 public:
  any_value() = default;
  explicit any_value(boost::any held) : held_(std::move(held)) {}
  ~any_value() override = default;

  template <typename T>
  static boost::shared_ptr<any_value> create(T v) {
    return boost::shared_ptr<any_value>(new any_value(boost::any(std::move(v))));
  }

  // The held type, or the type of void when empty.
  const std::type_info& result_type() const override { return held_.type(); }
  const boost::any& get() const { return held_; }
  bool empty() const { return held_.empty(); }
  // The held value as T, or null when it holds something else.
  template <typename T>
  const T* get_if() const {
    return boost::any_cast<T>(&held_);
  }

 private:
  boost::any held_;
};

// The result of a deferred list: one (succeeded, result) entry per watched deferred.
class defer_list_value : public value {
 public:
  using entry = std::pair<bool, boost::shared_ptr<result>>;

  explicit defer_list_value(std::size_t count) : entries_(count) {}
  ~defer_list_value() override = default;

  const std::type_info& result_type() const override { return typeid(*this); }
  bool has_value() const { return !entries_.empty(); }
  // True when every entry succeeded (and for no entries).
  bool success() const;

  const std::vector<entry>& entries() const { return entries_; }
  std::vector<entry>& entries() { return entries_; }

 private:
  std::vector<entry> entries_;
};

}  // namespace twisted
