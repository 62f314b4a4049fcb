import java.awt.Color;
import java.awt.GridLayout;
import java.awt.Panel;
import java.awt.event.ActionEvent;
import java.awt.event.ActionListener;

/**
 * The four navigation buttons: "|<" first, "<" previous, ">" next, ">|" last. The
 * buttons that would not move (at the first or the last picture) are disabled.
 */
public class AlbumNavigationPanel extends Panel implements ActionListener {
  private static final long serialVersionUID = 1L;
  public static final String FIRST = "|<";
  public static final String PREVIOUS = "<";
  public static final String NEXT = ">";
  public static final String LAST = ">|";

  private final PhotoAlbum album_;
  private final myPictureButton[] buttons_ = {
    new myPictureButton(FIRST), new myPictureButton(PREVIOUS),
    new myPictureButton(NEXT), new myPictureButton(LAST),
  };

  public AlbumNavigationPanel(PhotoAlbum album, Color frame) {
    album_ = album;
    setBackground(frame);
    setLayout(new GridLayout(1, buttons_.length, 4, 0));
    for (myPictureButton button : buttons_) {
      button.addActionListener(this);
      add(button);
    }
  }

  /** The button with this label ("|<", "<", ">" or ">|"), or null. */
  public myPictureButton getButton(String label) {
    for (myPictureButton button : buttons_) {
      if (button.getLabel().equals(label)) return button;
    }
    return null;
  }

  /** Enables the buttons that can move from picture current of count. */
  public void update(int current, int count) {
    boolean canGoBack = count > 0 && current > 0;
    boolean canGoOn = count > 0 && current < count - 1;
    buttons_[0].setEnabled(canGoBack);
    buttons_[1].setEnabled(canGoBack);
    buttons_[2].setEnabled(canGoOn);
    buttons_[3].setEnabled(canGoOn);
  }

  @Override
  public void actionPerformed(ActionEvent e) {
    String command = e.getActionCommand();
    if (FIRST.equals(command)) {
      album_.showFirst();
    } else if (PREVIOUS.equals(command)) {
      album_.showPrevious();
    } else if (NEXT.equals(command)) {
      album_.showNext();
    } else if (LAST.equals(command)) {
      album_.showLast();
    }
  }
}
