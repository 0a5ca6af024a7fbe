<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>AppDelegate</name>
    <message>
        <source>Vantrel — recording paused</source>
        <translation>Vantrel — 已暂停记录</translation>
    </message>
    <message>
        <source>Recording...</source>
        <translation>正在记录...</translation>
    </message>
    <message>
        <source>Open Vantrel</source>
        <translation>打开 Vantrel</translation>
    </message>
    <message>
        <source>Open Vantrel Mini</source>
        <translation>打开 Vantrel 迷你窗口</translation>
    </message>
    <message>
        <source>Preferences...</source>
        <translation>偏好设置...</translation>
    </message>
    <message>
        <source>Rate Us</source>
        <translation>给我们评分</translation>
    </message>
    <message>
        <source>Contact Us</source>
        <translation>联系我们</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>Paused</source>
        <translation>已暂停</translation>
    </message>
    <message>
        <source>Ignore the next copy</source>
        <translation>忽略下一次复制</translation>
    </message>
</context>
<context>
    <name>Application</name>
    <message>
        <source>Vantrel could not read its history and started a new one. The old file is kept as %1.</source>
        <translation>Vantrel 无法读取其历史记录，已新建一份。旧文件保存为 %1。</translation>
    </message>
</context>
<context>
    <name>CategoryListViewController</name>
    <message>
        <source>Search Results</source>
        <translation>搜索结果</translation>
    </message>
    <message>
        <source>History</source>
        <translation>历史记录</translation>
    </message>
    <message>
        <source>The contents of this item can no longer be found.</source>
        <translation>找不到此项目的内容。</translation>
    </message>
    <message>
        <source>Paste as Plain Text</source>
        <translation>粘贴为纯文本</translation>
    </message>
    <message>
        <source>Copy as Plain Text</source>
        <translation>复制为纯文本</translation>
    </message>
</context>
<context>
    <name>CategoryViewController</name>
    <message numerus="yes">
        <source>Delete %Ln items?</source>
        <translation>
            <numerusform>删除 %Ln 个项目？</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Delete %Ln items? Marked items are deleted too.</source>
        <translation>
            <numerusform>删除 %Ln 个项目？已标记的项目也会被删除。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Unmark %Ln items? They stay in the history.</source>
        <translation>
            <numerusform>取消标记 %Ln 个项目？它们会保留在历史记录中。</numerusform>
        </translation>
    </message>
    <message>
        <source>Sort order</source>
        <translation>排序方式</translation>
    </message>
    <message>
        <source>Sort</source>
        <translation>排序</translation>
    </message>
    <message>
        <source>Clear the list</source>
        <translation>清空列表</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>清空</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>复制</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>Mark</source>
        <translation>标记</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Unmark</source>
        <translation>取消标记</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>Dialogs</name>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
</context>
<context>
    <name>DocumentPreviewView</name>
    <message>
        <source>Document preview</source>
        <translation>文档预览</translation>
    </message>
    <message>
        <source>Text file preview</source>
        <translation>文本文件预览</translation>
    </message>
    <message>
        <source>PDF preview</source>
        <translation>PDF 预览</translation>
    </message>
</context>
<context>
    <name>EmptyView</name>
    <message>
        <source>Nothing in the history matches “%1”</source>
        <translation>历史记录中没有与“%1”匹配的内容</translation>
    </message>
    <message>
        <source>Type in the search field to search the whole history</source>
        <translation>在搜索框中输入以搜索全部历史记录</translation>
    </message>
    <message>
        <source>Vantrel will capture items automatically</source>
        <translation>Vantrel 会自动记录复制的内容</translation>
    </message>
    <message>
        <source>No Result</source>
        <translation>无结果</translation>
    </message>
    <message>
        <source>No Record</source>
        <translation>无记录</translation>
    </message>
</context>
<context>
    <name>FileInfoView</name>
    <message>
        <source>File information</source>
        <translation>文件信息</translation>
    </message>
    <message>
        <source>File icon</source>
        <translation>文件图标</translation>
    </message>
    <message>
        <source>File name</source>
        <translation>文件名</translation>
    </message>
    <message>
        <source>File size</source>
        <translation>文件大小</translation>
    </message>
    <message>
        <source>File type</source>
        <translation>文件类型</translation>
    </message>
</context>
<context>
    <name>HistoryListView</name>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>Unmark</source>
        <translation>取消标记</translation>
    </message>
    <message>
        <source>Mark</source>
        <translation>标记</translation>
    </message>
</context>
<context>
    <name>IgnoredApplicationsView</name>
    <message>
        <source>Never record:</source>
        <translation>从不记录：</translation>
    </message>
    <message>
        <source>Copies made in these applications are never read nor kept</source>
        <translation>在这些应用程序中的复制内容既不会被读取也不会被保存</translation>
    </message>
    <message>
        <source>Applications whose copies are never recorded</source>
        <translation>复制内容从不记录的应用程序</translation>
    </message>
    <message>
        <source>Add Running…</source>
        <translation>添加正在运行的…</translation>
    </message>
    <message>
        <source>Add Installed…</source>
        <translation>添加已安装的…</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>移除</translation>
    </message>
    <message>
        <source>Why the list has no effect here</source>
        <translation>为何此列表在这里无效</translation>
    </message>
    <message>
        <source>This desktop does not tell which application copied, so these copies are still recorded. For a one-off secret, use &quot;Ignore the next copy&quot; in the tray menu.</source>
        <translation>此桌面不会告知是哪个应用程序进行了复制，因此这些复制内容仍会被记录。对于一次性的机密内容，请使用托盘菜单中的“忽略下一次复制”。</translation>
    </message>
    <message>
        <source>No windows are known here</source>
        <translation>此处没有已知的窗口</translation>
    </message>
    <message>
        <source>No applications are installed</source>
        <translation>没有已安装的应用程序</translation>
    </message>
</context>
<context>
    <name>ImagePreviewView</name>
    <message>
        <source>Image preview</source>
        <translation>图片预览</translation>
    </message>
</context>
<context>
    <name>MainWindowController</name>
    <message>
        <source>Vantrel</source>
        <translation>Vantrel</translation>
    </message>
</context>
<context>
    <name>MiniViewController</name>
    <message>
        <source>Search</source>
        <translation>搜索</translation>
    </message>
    <message>
        <source>Pin</source>
        <translation>置顶</translation>
    </message>
    <message>
        <source>Main Window</source>
        <translation>主窗口</translation>
    </message>
    <message>
        <source>Unpin</source>
        <translation>取消置顶</translation>
    </message>
</context>
<context>
    <name>MiniWindowController</name>
    <message>
        <source>Vantrel Mini</source>
        <translation>Vantrel 迷你窗口</translation>
    </message>
</context>
<context>
    <name>MySearchField</name>
    <message>
        <source>Clear search</source>
        <translation>清除搜索</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>搜索</translation>
    </message>
</context>
<context>
    <name>NoticeBar</name>
    <message>
        <source>Dismiss</source>
        <translation>关闭</translation>
    </message>
</context>
<context>
    <name>PBFileContent</name>
    <message numerus="yes">
        <source>%1 and %n more</source>
        <translation>
            <numerusform>%1 及另外 %n 项</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>PasteKeystrokeNull</name>
    <message>
        <source>This desktop lets no application type into another, so Vantrel only copies the item: paste it with Ctrl+V.</source>
        <translation>此桌面不允许应用程序向其他应用程序输入，因此 Vantrel 只复制该项目：请用 Ctrl+V 粘贴。</translation>
    </message>
</context>
<context>
    <name>PasteKeystrokeX11</name>
    <message>
        <source>The X server offers no XTest extension, so Vantrel only copies the item: paste it with Ctrl+V.</source>
        <translation>X 服务器没有提供 XTest 扩展，因此 Vantrel 只复制该项目：请用 Ctrl+V 粘贴。</translation>
    </message>
</context>
<context>
    <name>PasteSettingsView</name>
    <message>
        <source>Paste:</source>
        <translation>粘贴：</translation>
    </message>
    <message>
        <source>Paste into the active application after choosing</source>
        <translation>选择后粘贴到活动的应用程序</translation>
    </message>
    <message>
        <source>In the mini window (Enter)</source>
        <translation>在迷你窗口中（回车）</translation>
    </message>
    <message>
        <source>In the main window (Enter or a double click)</source>
        <translation>在主窗口中（回车或双击）</translation>
    </message>
    <message>
        <source>Why Vantrel cannot paste here</source>
        <translation>为何 Vantrel 无法在此粘贴</translation>
    </message>
    <message>
        <source>Terminals, pasted into with Ctrl+Shift+V (one application id or window class a line):</source>
        <translation>终端，使用 Ctrl+Shift+V 粘贴（每行一个应用程序 ID 或窗口类）：</translation>
    </message>
    <message>
        <source>Terminals</source>
        <translation>终端</translation>
    </message>
</context>
<context>
    <name>PasteboardWayland</name>
    <message>
        <source>Vantrel cannot record the clipboard: the compositor offers no data-control protocol. Start Vantrel with VANTREL_WAYLAND_PATH=xwayland to record through Xwayland.</source>
        <translation>Vantrel 无法记录剪贴板：合成器不提供 data-control 协议。请使用 VANTREL_WAYLAND_PATH=xwayland 启动 Vantrel，以通过 Xwayland 记录。</translation>
    </message>
    <message>
        <source>Vantrel cannot record the clipboard: %1.</source>
        <translation>Vantrel 无法记录剪贴板：%1。</translation>
    </message>
</context>
<context>
    <name>PreviewPopover</name>
    <message>
        <source>Preview</source>
        <translation>预览</translation>
    </message>
</context>
<context>
    <name>PreviewPreparation</name>
    <message>
        <source>Only the first %1 of %2 are shown; the rest is not.</source>
        <translation>仅显示前 %1（共 %2），其余部分未显示。</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>文件夹</translation>
    </message>
</context>
<context>
    <name>PreviewViewController</name>
    <message>
        <source>Preview</source>
        <translation>预览</translation>
    </message>
    <message>
        <source>Formatted text</source>
        <translation>格式文本</translation>
    </message>
</context>
<context>
    <name>RFOverlayScroller</name>
    <message>
        <source>Scroll</source>
        <translation>滚动</translation>
    </message>
</context>
<context>
    <name>SettingsViewController</name>
    <message>
        <source>Scroll</source>
        <translation>滚动</translation>
    </message>
    <message>
        <source>The autostart entry %1 cannot be removed</source>
        <translation>无法删除自动启动条目 %1</translation>
    </message>
    <message>
        <source>The autostart entry %1 cannot be written</source>
        <translation>无法写入自动启动条目 %1</translation>
    </message>
    <message>
        <source>%1 already starts another program at log-in; it is left as it is</source>
        <translation>%1 已在登录时启动另一个程序；该条目保持不变</translation>
    </message>
    <message>
        <source>Mode:</source>
        <translation>模式：</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>复制</translation>
    </message>
    <message>
        <source>Copy twice</source>
        <translation>复制两次</translation>
    </message>
    <message>
        <source>Keep records:</source>
        <translation>保留记录：</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>时长</translation>
    </message>
    <message>
        <source>24 hours</source>
        <translation>24 小时</translation>
    </message>
    <message>
        <source>3 days</source>
        <translation>3 天</translation>
    </message>
    <message>
        <source>5 days</source>
        <translation>5 天</translation>
    </message>
    <message>
        <source>1 week</source>
        <translation>1 周</translation>
    </message>
    <message>
        <source>Number</source>
        <translation>数量</translation>
    </message>
    <message>
        <source>100 items</source>
        <translation>100 条</translation>
    </message>
    <message>
        <source>300 items</source>
        <translation>300 条</translation>
    </message>
    <message>
        <source>500 items</source>
        <translation>500 条</translation>
    </message>
    <message>
        <source>1000 items</source>
        <translation>1000 条</translation>
    </message>
    <message>
        <source>Clear when exiting Vantrel</source>
        <translation>退出 Vantrel 时清空</translation>
    </message>
    <message>
        <source>Manually delete</source>
        <translation>手动删除</translation>
    </message>
    <message>
        <source>Shortcuts:</source>
        <translation>快捷键：</translation>
    </message>
    <message>
        <source>&amp;Main window</source>
        <translation>主窗口(&amp;M)</translation>
    </message>
    <message>
        <source>Main window shortcut</source>
        <translation>主窗口快捷键</translation>
    </message>
    <message>
        <source>M&amp;ini window</source>
        <translation>迷你窗口(&amp;I)</translation>
    </message>
    <message>
        <source>Mini window shortcut</source>
        <translation>迷你窗口快捷键</translation>
    </message>
    <message>
        <source>Launch on system startup</source>
        <translation>开机时启动</translation>
    </message>
    <message>
        <source>v%1</source>
        <translation>v%1</translation>
    </message>
    <message>
        <source>Already held by another application</source>
        <translation>已被其他应用程序占用</translation>
    </message>
    <message>
        <source>Already the shortcut of the other window</source>
        <translation>已是另一个窗口的快捷键</translation>
    </message>
    <message>
        <source>Not usable as a global shortcut</source>
        <translation>不能用作全局快捷键</translation>
    </message>
    <message>
        <source>No global shortcuts in this session</source>
        <translation>此会话不支持全局快捷键</translation>
    </message>
    <message>
        <source>&amp;Rows:</source>
        <translation>行(&amp;R)：</translation>
    </message>
    <message>
        <source>Row height</source>
        <translation>行高</translation>
    </message>
    <message>
        <source>Comfortable</source>
        <translation>宽松</translation>
    </message>
    <message>
        <source>Compact</source>
        <translation>紧凑</translation>
    </message>
    <message>
        <source>Load web pages in previews</source>
        <translation>在预览中加载网页</translation>
    </message>
    <message>
        <source>Show a web address as its live page as soon as it is selected. Off: only the address shows until you press Load Page, and nothing is sent to the site.</source>
        <translation>选中网址时立即显示其网页。关闭时：在按下“加载网页”之前只显示地址，不会向网站发送任何内容。</translation>
    </message>
    <message>
        <source>Not accepted by the desktop</source>
        <translation>未被桌面环境接受</translation>
    </message>
</context>
<context>
    <name>SettingsWindowController</name>
    <message>
        <source>Preferences</source>
        <translation>偏好设置</translation>
    </message>
</context>
<context>
    <name>ShortcutCommands</name>
    <message>
        <source>In GNOME: Settings → Keyboard → View and Customize Shortcuts → Custom Shortcuts, then add one shortcut for each command.</source>
        <translation>在 GNOME 中：设置 → 键盘 → 查看及自定义快捷键 → 自定义快捷键，然后为每条命令添加一个快捷键。</translation>
    </message>
    <message>
        <source>In KDE Plasma: System Settings → Keyboard → Shortcuts → Add New → Command or Script, then add one shortcut for each command.</source>
        <translation>在 KDE Plasma 中：系统设置 → 键盘 → 快捷键 → 添加新项 → 命令或脚本，然后为每条命令添加一个快捷键。</translation>
    </message>
    <message>
        <source>In Xfce: Settings → Keyboard → Application Shortcuts, then add one shortcut for each command.</source>
        <translation>在 Xfce 中：设置 → 键盘 → 应用程序快捷键，然后为每条命令添加一个快捷键。</translation>
    </message>
    <message>
        <source>In Cinnamon: System Settings → Keyboard → Shortcuts → Custom Shortcuts, then add one shortcut for each command.</source>
        <translation>在 Cinnamon 中：系统设置 → 键盘 → 快捷键 → 自定义快捷键，然后为每条命令添加一个快捷键。</translation>
    </message>
    <message>
        <source>In sway: add a line such as “bindsym Ctrl+Alt+v exec %1” to ~/.config/sway/config, then reload sway.</source>
        <translation>在 sway 中：在 ~/.config/sway/config 中添加一行，例如“bindsym Ctrl+Alt+v exec %1”，然后重新加载 sway。</translation>
    </message>
    <message>
        <source>In Hyprland: add a line such as “bind = CTRL ALT, V, exec, %1” to ~/.config/hypr/hyprland.conf.</source>
        <translation>在 Hyprland 中：在 ~/.config/hypr/hyprland.conf 中添加一行，例如“bind = CTRL ALT, V, exec, %1”。</translation>
    </message>
    <message>
        <source>Add one shortcut for each command in your desktop&apos;s keyboard settings.</source>
        <translation>请在桌面环境的键盘设置中为每条命令添加一个快捷键。</translation>
    </message>
</context>
<context>
    <name>ShortcutCommandsView</name>
    <message>
        <source>Commands for the desktop&apos;s shortcuts</source>
        <translation>用于桌面快捷键的命令</translation>
    </message>
    <message>
        <source>This desktop lets Vantrel bind no shortcuts itself. Bind these commands to keys of your choice:</source>
        <translation>此桌面环境不允许 Vantrel 自行绑定快捷键。请将以下命令绑定到您选择的按键：</translation>
    </message>
    <message>
        <source>Main window</source>
        <translation>主窗口</translation>
    </message>
    <message>
        <source>Command for the main window</source>
        <translation>主窗口的命令</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>复制</translation>
    </message>
    <message>
        <source>Copies the command for the main window</source>
        <translation>复制主窗口的命令</translation>
    </message>
    <message>
        <source>Mini window</source>
        <translation>迷你窗口</translation>
    </message>
    <message>
        <source>Command for the mini window</source>
        <translation>迷你窗口的命令</translation>
    </message>
    <message>
        <source>Copies the command for the mini window</source>
        <translation>复制迷你窗口的命令</translation>
    </message>
</context>
<context>
    <name>StringAdditions</name>
    <message numerus="yes">
        <source>%n hours ago</source>
        <translation>
            <numerusform>%n 小时前</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n minutes ago</source>
        <translation>
            <numerusform>%n 分钟前</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Utils</name>
    <message>
        <source>Open this address with its handler?

%1</source>
        <translation>用关联的程序打开此地址吗？

%1</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>File has been moved</source>
        <translation>文件已被移动</translation>
    </message>
</context>
<context>
    <name>ViewController</name>
    <message numerus="yes">
        <source>%Ln items</source>
        <translation>
            <numerusform>%Ln 个项目</numerusform>
        </translation>
    </message>
    <message>
        <source>Number of results</source>
        <translation>结果数量</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>搜索</translation>
    </message>
    <message>
        <source>Mini Window</source>
        <translation>迷你窗口</translation>
    </message>
    <message>
        <source>Categories</source>
        <translation>分类</translation>
    </message>
    <message>
        <source>Loading</source>
        <translation>正在加载</translation>
    </message>
    <message>
        <source>Recents</source>
        <translation>最近</translation>
    </message>
    <message>
        <source>Marked</source>
        <translation>已标记</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>文本</translation>
    </message>
    <message>
        <source>Image</source>
        <translation>图片</translation>
    </message>
    <message>
        <source>URL</source>
        <translation>网址</translation>
    </message>
    <message>
        <source>File</source>
        <translation>文件</translation>
    </message>
    <message>
        <source>Vantrel Menu</source>
        <translation>Vantrel 菜单</translation>
    </message>
    <message>
        <source>Notice</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Your desktop shows no tray icons, so Vantrel lives in this window. Closing it keeps Vantrel recording; to bring the window back, start Vantrel again from your applications menu or run “vantrel”. The menu button at the top right pauses recording, opens the preferences and quits.</source>
        <translation>您的桌面环境不显示托盘图标，因此 Vantrel 显示在此窗口中。关闭窗口后 Vantrel 仍会继续记录；要重新打开窗口，请从应用程序菜单再次启动 Vantrel 或运行“vantrel”。右上角的菜单按钮可暂停记录、打开偏好设置和退出。</translation>
    </message>
</context>
<context>
    <name>WebAddressView</name>
    <message>
        <source>Web address</source>
        <translation>网址</translation>
    </message>
    <message>
        <source>Page title</source>
        <translation>网页标题</translation>
    </message>
    <message>
        <source>Load Page</source>
        <translation>加载网页</translation>
    </message>
    <message>
        <source>Load this page in the preview. The site learns of the visit, and a link meant for one use is used up.</source>
        <translation>在预览中加载此网页。网站会得知此次访问，仅限使用一次的链接也会因此失效。</translation>
    </message>
    <message>
        <source>Open in Browser</source>
        <translation>在浏览器中打开</translation>
    </message>
    <message>
        <source>Open this address in your web browser</source>
        <translation>在网页浏览器中打开此地址</translation>
    </message>
</context>
<context>
    <name>WebPreviewView</name>
    <message>
        <source>Web page</source>
        <translation>网页</translation>
    </message>
</context>
<context>
    <name>WelcomeView</name>
    <message>
        <source>Welcome</source>
        <translation>欢迎</translation>
    </message>
    <message>
        <source>Start at Log-In</source>
        <translation>登录时启动</translation>
    </message>
    <message>
        <source>Welcome to Vantrel. It records what you copy from now on.</source>
        <translation>欢迎使用 Vantrel。从现在起，它会记录您复制的内容。</translation>
    </message>
    <message>
        <source>To bring it up with a key, bind the command “%1” in your desktop&apos;s keyboard settings. %2</source>
        <translation>要用按键调出它，请在桌面环境的键盘设置中绑定命令“%1”。%2</translation>
    </message>
    <message>
        <source>Press %1 in any application to bring up its mini window.</source>
        <translation>在任意应用程序中按 %1 即可调出迷你窗口。</translation>
    </message>
    <message>
        <source>Press %1 in any application to bring up this window.</source>
        <translation>在任意应用程序中按 %1 即可调出此窗口。</translation>
    </message>
    <message>
        <source>Choose a shortcut in the Preferences to bring it up from any application.</source>
        <translation>在偏好设置中选择一个快捷键，即可从任意应用程序调出它。</translation>
    </message>
    <message>
        <source>Vantrel now starts when you log in.</source>
        <translation>Vantrel 现在会在您登录时启动。</translation>
    </message>
    <message>
        <source>Vantrel could not be set to start at log-in.</source>
        <translation>无法将 Vantrel 设置为登录时启动。</translation>
    </message>
</context>
<context>
    <name>TextPreviewView</name>
    <message>
        <source>Scroll</source>
        <translation>滚动</translation>
    </message>
</context>
</TS>
