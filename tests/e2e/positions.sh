# Where the end-to-end scripts point: each control once, in pixels from the
# top left corner of the window it lies in, as "X Y" arrays
# (xdotool mousemove --window "$window" "${tab_sequential[@]}" click 1).
# Sourced by lib.sh.

# The main window.
tab_sequential=(110 111)   # 顺序练习
tab_chapter=(301 111)      # 章节练习
chapter_select=(628 241)   # 选取, the chapter panel's button
tab_exam=(877 111)         # 模拟考试
answer_a=(601 484)         # the first answer
answer_confirm=(827 485)   # 我选好了, the confirm button of a multiple-answer question
next_question=(696 521)    # 下一题
hand_in=(776 519)          # 交卷
goto_box=(860 176)         # the go-to box: a question's number typed and entered shows it
title_bar=(300 12)         # a bare spot of the drawn title bar
title_grab=(500 12)        # where a title drag takes hold
title_middle=(400 12)      # the title bar's ground, well left of the caption buttons
title_near_left=(60 12)    # the title bar near its left end, right of the icon
title_near_right_from_right=120   # the title bar near its right end, left of the caption buttons, on the same row
icon=(12 12)               # the title bar's icon: a click opens its menu

# The system menu, from the point where it opens (at the pointer): its
# first item, 还原.
menu_first_item=(30 11)

# The result dialog.
result_title=(100 12)      # its title bar
result_ok=(174 160)        # 确定

# The frame's close button: its middle lies 15 pixels left of the window's
# right edge, 17 below its top; the maximise button's middle 36 pixels left
# of that edge, on the same row; 60 pixels left of the edge, the title bar's
# bare ground on that row.
close_from_right=15
close_y=17
maximise_from_right=36
caption_clear_from_right=60
# The bottom grip's corner zone of the main window, 6 pixels in from its
# right edge and 3 up from its lower edge.
grip_corner_from_right=6
grip_corner_from_bottom=3
# The title's dark line, on this row in device pixels at every scale: the
# title bar keeps its height, the rows below it scale with the window.
title_line_row=31

# The frame's test window (tests/e2e/FrameWindow.cpp, 400 x 300).
frame_middle=(200 150)
frame_grip_corner=(394 297)   # the bottom grip's corner zone
frame_title_grab=(100 12)
