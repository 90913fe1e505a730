// kivstudio --script share/kivworkspace/scripts/point-at-switcher.js
// Points at the workspace switcher bar and lists the console's commands in the console.
var overlay = new IndicatorOverlay("Switch workspaces here", IndicatorOverlay.ANCHOR_BOTTOM_EDGE,
                                   "TopLevelWindow/WorkspaceSwitcherBar");
if (!overlay.show()) throw new Error("the switcher bar was not found");
print("the overlay points at the switcher bar");

var helper = new UIAutomationHelper();
var commands = helper.executeConsoleCommand("con.help").trim().split("\n");
print(commands.length + " console commands, among them " + commands[0]);
