#include "twisted/defer_list.h"

namespace twisted {

defer_list::defer_list(const std::vector<boost::shared_ptr<defer>>& deferreds,
                       const Canceller& canceller, bool fireOnOneCallback, bool fireOnOneErrback,
                       bool consumeErrors)
    : defer(canceller),
      fireOnOneCallback_(fireOnOneCallback),
      fireOnOneErrback_(fireOnOneErrback),
      consumeErrors_(consumeErrors),
      resultList_(new defer_list_value(deferreds.size())) {}

defer_list::~defer_list() = default;

boost::shared_ptr<defer_list> defer_list::create(
    const std::vector<boost::shared_ptr<defer>>& deferreds, const Canceller& canceller,
    bool fireOnOneCallback, bool fireOnOneErrback, bool consumeErrors) {
  boost::shared_ptr<defer_list> list(
      new defer_list(deferreds, canceller, fireOnOneCallback, fireOnOneErrback, consumeErrors));
  if (deferreds.empty() && !fireOnOneCallback) {
    list->callback(list->resultList_);
  }
  const boost::shared_ptr<defer> self = list;
  for (unsigned i = 0; i < deferreds.size(); ++i) {
    deferreds[i]->addCallbacks(
        "defer_list",
        [self, i](const boost::shared_ptr<result>& r) { return _cbDeferred(r, self, i, true); },
        [self, i](const boost::shared_ptr<result>& r) { return _cbDeferred(r, self, i, false); });
  }
  return list;
}

boost::shared_ptr<result> defer_list::_cbDeferred(const boost::shared_ptr<result>& r,
                                                  const boost::shared_ptr<defer>& self,
                                                  unsigned index, bool succeeded) {
  auto& list = static_cast<defer_list&>(*self);
  std::lock_guard lock(list.mutex_);
  list.resultList_->entries()[index] = {succeeded, r};
  ++list.finishedCount_;
  if (!list.isCalled()) {
    if (succeeded && list.fireOnOneCallback_) {
      list.callback(r);
    } else if (!succeeded && list.fireOnOneErrback_) {
      list.errback(boost::shared_ptr<failure>(new FirstError(r, index)));
    } else if (list.finishedCount_ == list.resultList_->entries().size()) {
      list.callback(list.resultList_);
    }
  }
  if (!succeeded && list.consumeErrors_) return boost::shared_ptr<result>(new any_value());
  return r;
}

}  // namespace twisted
