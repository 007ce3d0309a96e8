[FileHeader]
Type=FRT_TPL
[FileHeader]
Version=1
; c
 x
