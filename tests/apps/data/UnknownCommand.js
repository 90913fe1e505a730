var helper = new UIAutomationHelper();
print("before the error");
helper.executeConsoleCommand("no.such.command");
print("never printed");
