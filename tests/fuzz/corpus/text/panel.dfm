object Form1: TForm1
  Left = 192
  Top = 107
  Caption = 'Lumo '#8211' demo'
  ClientHeight = 299
  ClientWidth = 635
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  OldCreateOrder = False
  PixelsPerInch = 96
  TextHeight = 13
  object OpenGLLumoPanel1: TOpenGLLumoPanel
    Left = 8
    Top = 8
    Width = 320
    Height = 240
    PFDFlags = [f_PFD_DRAW_TO_WINDOW, f_PFD_SUPPORT_OPENGL, f_PFD_DOUBLEBUFFER]
    cColorBits = #24
    cDepthBits = #16
    cAccBits = #0
    MultiSample = True
    Font3D_Type.Charset = ANSI_CHARSET
    Font3D_Type.Color = clWindowText
    Font3D_Type.Height = -9
    Font3D_Type.Name = 'Arial'
    Font3D_Type.Style = [fsBold]
    Font3D_MaxDeviation = 1.000000000000000000
    Font3D_Extrustion = 0.100000001490116100
    OnPaint = OpenGLLumoPanel1Paint
  end
end
