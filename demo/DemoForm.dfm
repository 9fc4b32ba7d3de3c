object DemoForm: TDemoForm
  Left = 100
  Top = 100
  Caption = 'OpenGLLumo demo'
  ClientHeight = 480
  ClientWidth = 640
  object Panel: TOpenGLLumoPanel
    Left = 0
    Top = 0
    Width = 640
    Height = 480
    Align = alClient
    MultiSample = True
    Font3D_Enabled = True
    Font3D_Type.Charset = ANSI_CHARSET
    Font3D_Type.Color = clWindowText
    Font3D_Type.Height = -9
    Font3D_Type.Name = 'Arial'
    Font3D_Type.Style = [fsBold]
    Font3D_Extrustion = 0.25
    Font2D_Enabled = True
    Font2D_Type.Charset = ANSI_CHARSET
    Font2D_Type.Color = clWindowText
    Font2D_Type.Height = -16
    Font2D_Type.Name = 'Arial'
    Font2D_Type.Style = [fsBold]
    Fps_Enabled = True
    OnInit = PanelInit
    OnResize = PanelResize
    OnPaint = PanelPaint
    OnMouseDown = PanelMouseDown
    OnMouseMove = PanelMouseMove
  end
end
