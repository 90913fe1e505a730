// The kivworkspace shared library is made of its component libraries; this file gives it a source.
