#pragma once
// A deferred that fires when the deferreds it watches have fired, or at the first success
// or failure when asked to.

#include "twisted/defer.h"

#include <vector>

namespace twisted {

class defer_list : public defer {
 public:
  // Watches deferreds in order. An empty vector fires at once with an empty
  // defer_list_value, unless fireOnOneCallback is set (then it never fires).
  // fireOnOneCallback: fire with the first member's value. fireOnOneErrback: fail with a
  // FirstError at the first member's failure. consumeErrors: a member's failure stops in
  // that member's chain (it goes on with an empty any_value).
  static boost::shared_ptr<defer_list> create(const std::vector<boost::shared_ptr<defer>>& deferreds,
                                              const Canceller& canceller = Canceller(),
                                              bool fireOnOneCallback = false,
                                              bool fireOnOneErrback = false,
                                              bool consumeErrors = false);
  ~defer_list() override;

 protected:
  defer_list(const std::vector<boost::shared_ptr<defer>>& deferreds, const Canceller& canceller,
             bool fireOnOneCallback, bool fireOnOneErrback, bool consumeErrors);

  // The function each watched deferred runs when it fires.
  static boost::shared_ptr<result> _cbDeferred(const boost::shared_ptr<result>& r,
                                               const boost::shared_ptr<defer>& self,
                                               unsigned index, bool succeeded);

 private:
  bool fireOnOneCallback_;
  bool fireOnOneErrback_;
  bool consumeErrors_;
  boost::shared_ptr<defer_list_value> resultList_;
  std::uint32_t finishedCount_ = 0;
};

}  // namespace twisted
