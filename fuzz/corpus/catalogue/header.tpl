[FileHeader]
Type=FRT_TPL
Version=1
