// Velmora's helper inside KWin. It tells Velmora what the compositor knows (windows, their
// owners, frames and stacking, activation) and does what Velmora asks of its own windows
// (place a cover over a window, park it). Its only decisions are reflexes that keep locked
// windows out of reach when Velmora is too slow or gone: a locked window is never drawn and
// never keeps the keyboard, and when Velmora vanishes the protected windows are minimized.
//
// A fault here is a fault in the compositor, which ends the whole session: every entry point
// catches everything, no window that is closing is touched, and the code stays small.
"use strict";

var PROTOCOL = 1;
var SERVICE = "com.tovren.velmora";
var PATH = "/KWin";
var IFACE = "com.tovren.velmora.KWin";
var TOKEN_PREFIX = "velmora-shield-";

var ws = workspace;
// KWin 6 names windows what KWin 5 called clients.
var six = typeof ws.windowList === "function";
var windowAdded = six ? ws.windowAdded : ws.clientAdded;
var windowRemoved = six ? ws.windowRemoved : ws.clientRemoved;
var windowActivated = six ? ws.windowActivated : ws.clientActivated;

function listWindows() {
    return six ? ws.windowList() : ws.clientList();
}
function activeWindow() {
    return six ? ws.activeWindow : ws.activeClient;
}
function setActiveWindow(window) {
    if (six) {
        ws.activeWindow = window;
    } else {
        ws.activeClient = window;
    }
}

// Every window seen, by KWin's id: {number, window, closed, locked, token, over, opacity}.
var records = {};
var byNumber = {};
var nextNumber = 1;
// Shields (Velmora's covers and cards) by token.
var shields = {};
// Placements for shields whose window has not appeared yet.
var pendingPlacements = {};
var velmoraPid = 0;
var protectedPids = {};
var dirty = {};
var closedNumbers = [];
var activeReport = -1;
var flushTimer = null;
var polling = false;
// Work that must not run inside KWin's own signal handling, done on the next turn.
var later = [];

function safely(handler) {
    return function () {
        try {
            return handler.apply(null, arguments);
        } catch (error) {
            print("velmora: " + error);
        }
    };
}

function isUsable(record) {
    return record && !record.closed && !record.window.deleted;
}

function recordOf(window) {
    return window ? records[String(window.internalId)] : undefined;
}

function isVelmora(window) {
    return velmoraPid !== 0 && window.pid === velmoraPid;
}

function isShield(record) {
    return record && record.token !== "";
}

function tokenOf(window) {
    var caption = String(window.caption);
    return isVelmora(window) && caption.indexOf(TOKEN_PREFIX) === 0 ? caption : "";
}

function onCurrentDesktop(window) {
    return window.onAllDesktops || window.desktop === ws.currentDesktop;
}

function describe(record) {
    var w = record.window;
    var frame = w.frameGeometry;
    var layer = 0;
    if (w.dock) {
        layer = 20;
    } else if (w.keepAbove) {
        layer = 3;
    } else if (w.keepBelow) {
        layer = -1;
    }
    return {
        number: record.number,
        pid: w.pid,
        desktopFile: String(w.desktopFileName || ""),
        resourceClass: String(w.resourceClass || ""),
        resourceName: String(w.resourceName || ""),
        x: frame.x,
        y: frame.y,
        width: frame.width,
        height: frame.height,
        stacking: w.stackingOrder,
        layer: layer,
        normal: w.normalWindow || w.dialog,
        minimized: w.minimized,
        visible: !w.minimized && !w.hidden && onCurrentDesktop(w),
        shield: isShield(record),
        locked: record.locked
    };
}

function scheduleFlush() {
    if (flushTimer === null) {
        flushTimer = new QTimer();
        flushTimer.singleShot = true;
        flushTimer.timeout.connect(safely(flush));
    }
    if (!flushTimer.active) {
        flushTimer.start(0);
    }
}

function markDirty(record) {
    dirty[record.number] = record;
    scheduleFlush();
}

function soon(work) {
    later.push(work);
    scheduleFlush();
}

function flush() {
    var work = later;
    later = [];
    for (var i = 0; i < work.length; ++i) {
        safely(work[i])();
    }
    var windows = [];
    for (var number in dirty) {
        if (isUsable(dirty[number])) {
            windows.push(describe(dirty[number]));
        }
    }
    dirty = {};
    var batch = {windows: windows, closed: closedNumbers, active: activeReport};
    closedNumbers = [];
    activeReport = -1;
    if (velmoraPid !== 0) {
        callDBus(SERVICE, PATH, IFACE, "Facts", batch);
    }
}

function setLocked(record, locked) {
    if (!isUsable(record) || record.locked === locked) {
        return;
    }
    record.locked = locked;
    if (locked) {
        record.opacity = record.window.opacity;
        record.window.opacity = 0;
    } else {
        record.window.opacity = record.opacity > 0 ? record.opacity : 1;
        for (var token in shields) {
            if (isUsable(shields[token]) && shields[token].provisional &&
                shields[token].over === record.number) {
                park(token);
            }
        }
    }
    markDirty(record);
}

function pidIsLocked(pid) {
    for (var id in records) {
        if (records[id].locked && records[id].window.pid === pid) {
            return true;
        }
    }
    return false;
}

// The window that takes the keyboard in place of a locked one: its card, else its cover.
function shieldOver(record) {
    var found = null;
    for (var token in shields) {
        var shield = shields[token];
        if (isUsable(shield) && shield.over === record.number && !shield.window.minimized) {
            if (shield.card) {
                return shield.window;
            }
            found = shield.window;
        }
    }
    return found;
}

// A card lies above the covers. Only activation raises a window here: the card is activated
// unless another window than the one it shields has the keyboard (Velmora's prompt).
function raiseCard() {
    for (var token in shields) {
        var card = shields[token];
        if (!isUsable(card) || !card.card || card.window.minimized || card.window.active) {
            continue;
        }
        var active = recordOf(activeWindow());
        if (!active || isShield(active) || active.number === card.over) {
            handingOff = true;
            try {
                setActiveWindow(card.window);
            } finally {
                handingOff = false;
            }
        }
    }
}

function cardShown() {
    for (var token in shields) {
        if (isUsable(shields[token]) && shields[token].card && !shields[token].window.minimized) {
            return true;
        }
    }
    return false;
}

// Set while the keyboard is handed from a locked window to its shield or to nobody: Velmora
// is told of the locked window coming forward, not of that.
var handingOff = false;

// A locked window brought forward is covered at once by the cover it had last, before Velmora
// has heard of it; Velmora's next commands confirm that cover or put it away again.
function coverAtOnce(record) {
    if (velmoraPid === 0 || shieldOver(record) !== null) {
        return;
    }
    var shield = shields[record.lastCover];
    if (!isUsable(shield) || shield.frame !== null) {
        return;
    }
    place({token: shield.token, over: record.number, x: record.window.frameGeometry.x,
           y: record.window.frameGeometry.y, width: record.window.frameGeometry.width,
           height: record.window.frameGeometry.height, card: false});
    shield.provisional = true;
}

function dropProvisional() {
    for (var token in shields) {
        if (isUsable(shields[token]) && shields[token].provisional) {
            park(token);
        }
    }
}

function keepKeyboardAway(record) {
    if (isUsable(record) && record.locked && record.window.active) {
        handingOff = true;
        try {
            setActiveWindow(shieldOver(record));
        } finally {
            handingOff = false;
        }
    }
}

function watch(record) {
    var w = record.window;
    var changed = safely(function () {
        markDirty(record);
    });
    w.frameGeometryChanged.connect(safely(function () {
        markDirty(record);
        followTarget(record);
    }));
    w.stackingOrderChanged.connect(changed);
    w.desktopChanged.connect(changed);
    w.keepAboveChanged.connect(changed);
    // A window may name its application only after it first shows.
    w.desktopFileNameChanged.connect(changed);
    w.windowClassChanged.connect(changed);
    w.minimizedChanged.connect(safely(function () {
        markDirty(record);
        // A locked window while Velmora is away, and a parked shield, stay minimized
        // whatever shows them (KWin brings a minimized window back when it is activated).
        var hidden = function () {
            return (isShield(record) && record.frame === null) ||
                   (velmoraPid === 0 && record.locked);
        };
        if (!w.minimized && hidden()) {
            soon(function () {
                if (hidden()) {
                    minimize(record);
                }
            });
        }
    }));
    w.captionChanged.connect(safely(function () {
        adoptShield(record);
    }));
    w.windowClosed.connect(safely(function () {
        record.closed = true;
    }));
}

function minimize(record) {
    if (isUsable(record)) {
        record.window.minimized = true;
    }
}

function add(window) {
    if (!window || window.deleted || recordOf(window) || !window.managed || window.desktopWindow) {
        return;
    }
    var record = {
        number: nextNumber++,
        window: window,
        closed: false,
        locked: false,
        token: "",
        over: 0,
        card: false,
        frame: null,
        provisional: false,
        lastCover: "",
        resizeTries: 0,
        opacity: 1
    };
    records[String(window.internalId)] = record;
    byNumber[record.number] = record;
    watch(record);
    // A new window of a locked process is hidden before it is ever drawn.
    if (pidIsLocked(window.pid) || (velmoraPid === 0 && protectedPids[window.pid])) {
        setLocked(record, true);
    }
    adoptShield(record);
    markDirty(record);
    // KWin activates a new window before it announces it.
    if (window.active && !isShield(record)) {
        reportActive(record);
    }
}

function remove(window) {
    var record = recordOf(window);
    if (!record) {
        return;
    }
    record.closed = true;
    delete records[String(window.internalId)];
    delete byNumber[record.number];
    closedNumbers.push(record.number);
    if (isShield(record)) {
        delete shields[record.token];
        // Velmora's shields live as long as Velmora: one gone means Velmora is gone.
        if (velmoraPid !== 0 && window.pid === velmoraPid) {
            velmoraVanished();
        }
    }
    scheduleFlush();
}

function adoptShield(record) {
    if (!isUsable(record)) {
        return;
    }
    var token = tokenOf(record.window);
    if (token === "" || record.token === token) {
        return;
    }
    record.token = token;
    shields[token] = record;
    var w = record.window;
    w.noBorder = true;
    w.skipTaskbar = true;
    w.skipPager = true;
    w.skipSwitcher = true;
    w.keepAbove = true;
    w.onAllDesktops = true;
    var pending = pendingPlacements[token];
    delete pendingPlacements[token];
    if (pending) {
        place(pending);
    } else {
        park(token);
    }
    markDirty(record);
}

function followTarget(target) {
    for (var token in shields) {
        var shield = shields[token];
        if (isUsable(shield) && shield.over === target.number && !shield.window.minimized) {
            shield.window.frameGeometry = target.window.frameGeometry;
        }
    }
}

function place(command) {
    var shield = shields[command.token];
    if (!isUsable(shield)) {
        pendingPlacements[command.token] = command;
        return;
    }
    var target = byNumber[command.over];
    shield.over = isUsable(target) ? target.number : 0;
    shield.card = command.card === true;
    shield.provisional = false;
    if (isUsable(target) && !shield.card) {
        target.lastCover = shield.token;
    }
    var frame = {x: command.x, y: command.y, width: command.width, height: command.height};
    shield.frame = frame;
    shield.resizeTries = 0;
    shield.window.minimized = false;
    shield.window.frameGeometry = frame;
    keepFrames();
    if (isUsable(target)) {
        setLocked(target, true);
        keepKeyboardAway(target);
    }
}

// A window shown again while it was still drawing takes a new size only once that frame is
// done: the size is asked again until it is taken, for a second at most.
var frameTimer = null;
function keepFrames() {
    if (frameTimer === null) {
        frameTimer = new QTimer();
        frameTimer.interval = 40;
        frameTimer.timeout.connect(safely(function () {
            var waiting = false;
            for (var token in shields) {
                var shield = shields[token];
                if (!isUsable(shield) || shield.frame === null || shield.window.minimized) {
                    continue;
                }
                var now = shield.window.frameGeometry;
                if (now.width === shield.frame.width && now.height === shield.frame.height) {
                    continue;
                }
                if (++shield.resizeTries <= 25) {
                    shield.window.frameGeometry = shield.frame;
                    waiting = true;
                }
            }
            if (!waiting) {
                frameTimer.stop();
            }
        }));
    }
    if (!frameTimer.active) {
        frameTimer.start();
    }
}

function park(token) {
    var shield = shields[token];
    delete pendingPlacements[token];
    if (isUsable(shield)) {
        shield.over = 0;
        shield.card = false;
        shield.frame = null;
        shield.provisional = false;
        shield.window.minimized = true;
    }
}

function run(command) {
    var record = byNumber[command.number];
    switch (command.op) {
    case "place":
        place(command);
        break;
    case "park":
        park(command.token);
        break;
    case "release":
        setLocked(record, false);
        break;
    case "activate":
        if (isUsable(record)) {
            record.window.minimized = false;
            setActiveWindow(record.window);
        }
        break;
    case "hide":
        // Hidden by Velmora means locked: not drawn, and only then minimized, so that KWin's
        // minimize animation starts from a window it no longer draws.
        setLocked(record, true);
        soon(function () {
            minimize(record);
        });
        break;
    case "protect":
        protectedPids = {};
        for (var i = 0; i < command.pids.length; ++i) {
            protectedPids[command.pids[i]] = true;
        }
        break;
    case "goodbye":
        for (var id in records) {
            setLocked(records[id], false);
        }
        velmoraPid = 0;
        callDBus(SERVICE, PATH, IFACE, "Farewell");
        break;
    }
}

// Velmora answers a poll as soon as it has commands, and at least every few seconds.
function poll() {
    if (polling || velmoraPid === 0) {
        return;
    }
    polling = true;
    callDBus(SERVICE, PATH, IFACE, "Commands", safely(function (commands) {
        polling = false;
        var provisional = false;
        for (var token in shields) {
            provisional = provisional || (isUsable(shields[token]) && shields[token].provisional);
        }
        for (var i = 0; commands && i < commands.length; ++i) {
            run(commands[i]);
        }
        if (provisional && commands && commands.length > 0) {
            dropProvisional();
        }
        raiseCard();
        poll();
    }));
}

function velmoraVanished() {
    print("velmora: Velmora has gone; its protected windows are minimized");
    velmoraPid = 0;
    polling = false;
    for (var id in records) {
        var record = records[id];
        if (!isUsable(record) || isShield(record)) {
            continue;
        }
        if (record.locked || protectedPids[record.window.pid]) {
            setLocked(record, true);
            minimize(record);
        }
    }
}

windowAdded.connect(safely(add));
windowRemoved.connect(safely(remove));
function reportActive(record) {
    activeReport = record ? record.number : 0;
    scheduleFlush();
}

windowActivated.connect(safely(function (window) {
    var record = recordOf(window);
    if (isShield(record) || handingOff) {
        return;
    }
    reportActive(record);
    if (record && record.locked) {
        coverAtOnce(record);
    }
    // Velmora's own prompt must not open beneath its cards.
    if (record && isVelmora(window) && cardShown()) {
        soon(function () {
            if (isUsable(record)) {
                record.window.keepAbove = true;
            }
        });
    }
    if (record && record.locked) {
        keepKeyboardAway(record);
        if (velmoraPid === 0) {
            soon(function () {
                minimize(record);
            });
        }
    }
}));

callDBus(SERVICE, PATH, IFACE, "Hello", PROTOCOL, safely(function (pid) {
    velmoraPid = pid;
    var windows = listWindows();
    for (var i = 0; i < windows.length; ++i) {
        add(windows[i]);
        adoptShield(recordOf(windows[i]));
    }
    var active = recordOf(activeWindow());
    activeReport = active ? active.number : 0;
    flush();
    poll();
}));
